#pragma once

#include <QAbstractTableModel>
#include <QVector>
#include <functional>
#include <optional>

#include "regional_settings.h"

// One row of the readings editor: the part and its reference value (for a study of known
// parts) and the reading; each empty until given.
struct ReadingEntry {
    std::optional<double> part;
    std::optional<double> reference;
    std::optional<double> value;
    bool isEmpty() const { return !part && !reference && !value; }
};

// The readings of a study as a table of the columns its kind has (the reading alone, or
// part, reference and reading), numbers in the regional form. An edit goes to `edit`,
// which stores it or refuses it; the model shows what it is given.
class ReadingsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum class Column { Part, Reference, Value };
    using Edit = std::function<bool(int row, Column column, const QString& text)>;

    ReadingsModel(const QVector<Column>& columns, const RegionalSettings& regional, Edit edit,
                  QObject* parent = nullptr);
    void setRows(const QVector<ReadingEntry>& rows);
    const QVector<Column>& columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    QString textOf(std::optional<double> number) const;
    static std::optional<double>& field(ReadingEntry& row, Column column);
    static std::optional<double> field(const ReadingEntry& row, Column column);

private:
    QVector<Column> columns_;
    RegionalSettings regional_;
    Edit edit_;
    QVector<ReadingEntry> rows_;
};
