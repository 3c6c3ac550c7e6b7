#pragma once

#include "picturelist/picture_entry.h"

#include <QAbstractTableModel>

/**
 * The rows of the picture list for the list controls: column 0 is the path (the visible
 * list), column 1 the settings string (the hidden list). Both columns live in one row, so the
 * two lists can never fall out of step. Texts are held as bytes and decoded only for display.
 */
class PictureListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit PictureListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    int count() const { return static_cast<int>(m_entries.size()); }
    const picturelist::PictureEntries &entries() const { return m_entries; }
    const picturelist::PictureEntry &entry(int row) const
    {
        return m_entries[static_cast<size_t>(row)];
    }

    /** Appends entries at the end. */
    void append(const picturelist::PictureEntries &entries);
    void append(const picturelist::PictureEntry &entry);
    /** Replaces every row (a new order, or a new list). */
    void setEntries(picturelist::PictureEntries entries);
    void clear();
    /** Removes the given rows (ascending, no duplicates). */
    void removeRowsAt(const std::vector<int> &rows);
    void setSettings(int row, const std::string &settings);
    /** Exchanges rows a and b. */
    void swapRows(int a, int b);

    /** The display form of a byte string; invalid UTF-8 is shown with replacement marks. */
    static QString displayText(const std::string &bytes);

private:
    picturelist::PictureEntries m_entries;
};
