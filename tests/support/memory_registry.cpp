#include "tests/support/memory_registry.h"

#include <algorithm>

namespace testsupport {

MemoryRegistry::MemoryRegistry()
{
    platform::setCurrentUserRegistry(this);
}

MemoryRegistry::MemoryRegistry(platform::Registry &backing)
    : m_backing(&backing)
{
    platform::setCurrentUserRegistry(this);
}

MemoryRegistry::~MemoryRegistry()
{
    platform::setCurrentUserRegistry(nullptr);
}

std::string MemoryRegistry::folded(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
        [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

platform::RegRead MemoryRegistry::read(std::string_view keyPath, std::string_view name)
{
    ++reads;
    if (failKeys)
        return {};
    if (m_backing)
        return m_backing->read(keyPath, name);
    platform::RegRead result;
    result.keyOpened = true;
    const auto found = m_values.find({folded(keyPath), folded(name)});
    if (found != m_values.end())
        result.value = found->second;
    return result;
}

bool MemoryRegistry::write(
    std::string_view keyPath, std::string_view name, const platform::RegValue &value)
{
    std::string text = value.data;
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    writes.push_back({std::string(name), text});
    if (onWrite)
        onWrite(keyPath, writes.back());
    if (failKeys || failingWrites.count("*") || failingWrites.count(std::string(name))
        || static_cast<int>(writes.size()) - 1 == failingWriteNumber)
        return false;
    if (m_backing)
        return m_backing->write(keyPath, name, value);
    m_values[{folded(keyPath), folded(name)}] = value;
    return true;
}

void MemoryRegistry::store(std::string_view keyPath, std::string_view name, const std::string &text)
{
    store(keyPath, name, platform::RegValue {platform::RegSz, text + std::string(1, '\0')});
}

void MemoryRegistry::store(
    std::string_view keyPath, std::string_view name, const platform::RegValue &value)
{
    m_values[{folded(keyPath), folded(name)}] = value;
}

std::string MemoryRegistry::stored(std::string_view keyPath, std::string_view name) const
{
    const auto found = m_values.find({folded(keyPath), folded(name)});
    if (found == m_values.end())
        return "<missing>";
    std::string text = found->second.data;
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

int MemoryRegistry::writesOf(std::string_view name) const
{
    return static_cast<int>(std::count_if(
        writes.begin(), writes.end(), [name](const Write &w) { return w.name == name; }));
}

} // namespace testsupport
