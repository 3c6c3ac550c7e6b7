#include "picture_list_model.h"

#include "picturelist/list_commands.h"

PictureListModel::PictureListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int PictureListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int PictureListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QString PictureListModel::displayText(const std::string &bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QVariant PictureListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count() || role != Qt::DisplayRole)
        return {};
    const picturelist::PictureEntry &e = entry(index.row());
    return displayText(index.column() == 0 ? e.path : e.settings);
}

void PictureListModel::append(const picturelist::PictureEntries &entries)
{
    if (entries.empty())
        return;
    beginInsertRows({}, count(), count() + static_cast<int>(entries.size()) - 1);
    m_entries.insert(m_entries.end(), entries.begin(), entries.end());
    endInsertRows();
}

void PictureListModel::append(const picturelist::PictureEntry &entry)
{
    append(picturelist::PictureEntries {entry});
}

void PictureListModel::setEntries(picturelist::PictureEntries entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void PictureListModel::clear()
{
    setEntries({});
}

void PictureListModel::removeRowsAt(const std::vector<int> &rows)
{
    if (rows.empty())
        return;
    if (rows.size() == 1) {
        beginRemoveRows({}, rows[0], rows[0]);
        m_entries.erase(m_entries.begin() + rows[0]);
        endRemoveRows();
        return;
    }
    // Many rows at once: rebuild in one pass rather than one removal per row.
    beginResetModel();
    picturelist::eraseRows(m_entries, rows);
    endResetModel();
}

void PictureListModel::setSettings(int row, const std::string &settings)
{
    std::string &stored = m_entries[static_cast<size_t>(row)].settings;
    if (stored == settings)
        return;
    stored = settings;
    const QModelIndex cell = index(row, 1);
    Q_EMIT dataChanged(cell, cell);
}

void PictureListModel::swapRows(int a, int b)
{
    if (a == b)
        return;
    std::swap(m_entries[static_cast<size_t>(a)], m_entries[static_cast<size_t>(b)]);
    Q_EMIT dataChanged(index(std::min(a, b), 0), index(std::max(a, b), 1));
}
