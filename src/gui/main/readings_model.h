#pragma once

#include <QAbstractTableModel>
#include <QVector>
#include <functional>
#include <optional>

#include "regional_settings.h"

// The readings of a type-1 study as a one-column table: each reading in its row (empty
// where none was taken yet), numbers in the regional form. An edit goes to `edit`, which
// stores it or refuses it; the model shows what it is given.
class ReadingsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using Edit = std::function<bool(int row, const QString& text)>;

    ReadingsModel(const RegionalSettings& regional, Edit edit, QObject* parent = nullptr);
    void setReadings(const QVector<std::optional<double>>& readings);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    QString textOf(std::optional<double> reading) const;

private:
    RegionalSettings regional_;
    Edit edit_;
    QVector<std::optional<double>> readings_;
};
