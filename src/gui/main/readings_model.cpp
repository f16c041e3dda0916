#include "readings_model.h"

#include "number_pattern.h"

ReadingsModel::ReadingsModel(const RegionalSettings& regional, Edit edit, QObject* parent)
    : QAbstractTableModel(parent), regional_(regional), edit_(std::move(edit)) {}

void ReadingsModel::setReadings(const QVector<std::optional<double>>& readings) {
    beginResetModel();
    readings_ = readings;
    endResetModel();
}

int ReadingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(readings_.size());
}

int ReadingsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QString ReadingsModel::textOf(std::optional<double> reading) const {
    return reading ? formatGeneralNumber(*reading, regional_) : QString();
}

QVariant ReadingsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= readings_.size()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return textOf(readings_[index.row()]);
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
    return orientation == Qt::Horizontal ? QVariant(QStringLiteral("Odczyt"))
                                         : QVariant(section + 1);
}

Qt::ItemFlags ReadingsModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool ReadingsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    return role == Qt::EditRole && index.isValid() && edit_(index.row(), value.toString());
}
