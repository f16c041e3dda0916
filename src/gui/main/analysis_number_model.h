#pragma once

#include <QAbstractListModel>
#include <QHash>

class Session;

// Combo1's list: the analysis numbers in the order of the analysis record set, read
// from the database only when the list shows them, so that a file of a hundred
// thousand analyses opens as fast as a small one.
class AnalysisNumberModel : public QAbstractListModel {
    Q_OBJECT

public:
    AnalysisNumberModel(Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // After the record set gained or lost a row.
    void reload();

private:
    Session& session_;
    mutable QHash<int, QString> shown_;
};
