#pragma once

// A private world for one window test: its own registry file, list file and message boxes.

#include "Murelin1.h"
#include "dialogs.h"
#include "linux/registry_file.h"
#include "platform/atomic_file.h"
#include "registry/temp_dir.h"

#include <QSize>

#include <memory>
#include <string>
#include <vector>

inline constexpr const char *SettingsKeyPath = "Software\\Tovrane\\Murelin";

struct WindowWorld
{
    TempDir dir;
    std::string registryPath = dir.file("HKEY_CURRENT_USER.reg");
    std::string listPath = dir.file("MurelinAll.txt");
    platform::FileRegistry registry {registryPath};
    std::vector<std::string> messages;
    int endProcessCalls = 0;
    QSize maximized {1032, 776};
    QSize outer {429, 360};
    int pixelsPerInch = 96;
    bool notificationArea = true; // the offscreen platform has none

    WindowWorld()
    {
        platform::setCurrentUserRegistry(&registry);
        murelin::setMessageBoxHandler([this](const murelin::MessageRequest &r) {
            messages.push_back(r.text);
            return murelin::MsgAnswer::Ok;
        });
    }
    ~WindowWorld()
    {
        platform::setCurrentUserRegistry(nullptr);
        murelin::setMessageBoxHandler({});
    }

    void store(const char *name, const std::string &text)
    {
        registry.write(SettingsKeyPath, name,
            platform::RegValue {platform::RegSz, text + std::string(1, '\0')});
    }
    void storeValue(const char *name, const platform::RegValue &value)
    {
        registry.write(SettingsKeyPath, name, value);
    }
    /** The stored text of `name` under `key`, or "<missing>". */
    std::string stored(const char *name, const char *key = SettingsKeyPath)
    {
        const auto read = registry.read(key, name);
        if (!read.value)
            return "<missing>";
        std::string data = read.value->data;
        if (!data.empty() && data.back() == '\0')
            data.pop_back();
        return data;
    }
    void writeList(const std::string &bytes) { platform::writeFileAtomically(listPath, bytes); }
    std::string listBytes()
    {
        std::string bytes;
        platform::readWholeFile(listPath, bytes);
        return bytes;
    }

    TForm1::Environment environment()
    {
        TForm1::Environment env;
        env.maximizedWindowSize = [this] { return maximized; };
        env.outerWindowSize = [this] { return outer; };
        env.pixelsPerInch = [this] { return pixelsPerInch; };
        env.listFilePath = [this] { return listPath; };
        env.timeOfDayMs = [] { return 0u; };
        env.endProcess = [this] { ++endProcessCalls; };
        env.notificationAreaAvailable = [this] { return notificationArea; };
        return env;
    }

    /** A window built and started as the program starts it. */
    std::unique_ptr<TForm1> start()
    {
        auto form = std::make_unique<TForm1>(environment());
        form->FormCreate();
        return form;
    }
};
