#include "readings_model.h"

#include "number_pattern.h"

ReadingsModel::ReadingsModel(const QVector<Column>& columns, const RegionalSettings& regional,
                             Edit edit, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), regional_(regional), edit_(std::move(edit)) {}

void ReadingsModel::setRows(const QVector<ReadingEntry>& rows) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
}

int ReadingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ReadingsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

std::optional<double>& ReadingsModel::field(ReadingEntry& row, Column column) {
    return column == Column::Part        ? row.part
           : column == Column::Reference ? row.reference
                                         : row.value;
}

std::optional<double> ReadingsModel::field(const ReadingEntry& row, Column column) {
    return column == Column::Part        ? row.part
           : column == Column::Reference ? row.reference
                                         : row.value;
}

QString ReadingsModel::textOf(std::optional<double> number) const {
    return number ? formatGeneralNumber(*number, regional_) : QString();
}

QVariant ReadingsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size() || index.column() >= columns_.size()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return textOf(field(rows_[index.row()], columns_[index.column()]));
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ReadingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    switch (columns_.value(section)) {
        case Column::Part:
            return QString::fromUtf8("Część");
        case Column::Reference:
            return QString::fromUtf8("Odniesienie");
        case Column::Value:
            break;
    }
    return QStringLiteral("Odczyt");
}

Qt::ItemFlags ReadingsModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool ReadingsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    return role == Qt::EditRole && index.isValid() &&
           edit_(index.row(), columns_.value(index.column()), value.toString());
}
