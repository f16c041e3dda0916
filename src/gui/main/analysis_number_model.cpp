#include "analysis_number_model.h"

#include "session.h"

AnalysisNumberModel::AnalysisNumberModel(Session& session, QObject* parent)
    : QAbstractListModel(parent), session_(session) {}

int AnalysisNumberModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : session_.analyses().recordCount();
}

QVariant AnalysisNumberModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    const int row = index.row();
    auto it = shown_.constFind(row);
    if (it == shown_.constEnd()) {
        const std::optional<Value> numer =
            session_.analyses().readFieldAt(row, QStringLiteral("Numer"));
        if (!numer) {
            return QString();  // a failed read is not kept: the entry comes back next time
        }
        it = shown_.insert(row, numer->toText(session_.regional()));
    }
    return *it;
}

void AnalysisNumberModel::reload() {
    beginResetModel();
    shown_.clear();
    endResetModel();
}
