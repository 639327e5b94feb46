#include "window/log_model.h"

#include "core/app/log_pictures.h"
#include "core/forms/dialog_ids.h"
#include "window/icons.h"

namespace vk930 {

namespace {

QString VisibleText(const QString& text) {
    QString shown = text;  // shared, copied only when a character changes
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (const char16_t visible = LogPicture(c); visible != c) shown[i] = QChar(visible);
    }
    return shown;
}

}  // namespace

LogModel::LogModel(QObject* parent) : QAbstractListModel(parent) {}

void LogModel::Append(QString text, int kind) {
    const int row = static_cast<int>(entries_.size());
    beginInsertRows({}, row, row);
    entries_.push_back({std::move(text), kind});
    endInsertRows();
}

void LogModel::Clear() {
    beginResetModel();
    entries_.clear();
    entries_.shrink_to_fit();
    endResetModel();
}

int LogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant LogModel::IconOf(int kind) const {
    // The kind is not checked by the callers: one without an image shows no icon.
    if (kind < 0 || kind >= static_cast<int>(icons_.size())) return {};
    // Image index 0, 1, 2 in this order, so an entry's icon kind is its image index.
    static constexpr int kResources[] = {id::kIconLogFailure, id::kIconLogSuccess,
                                         id::kIconLogProgress};
    QPixmap& icon = icons_[static_cast<size_t>(kind)];
    if (icon.isNull()) icon = IconPixmap(kResources[kind], kLogIconPixels);
    return icon;
}

QVariant LogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() != 0) return {};
    const Entry& entry = entries_[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return VisibleText(entry.text);  // the entry keeps its own text
        case Qt::DecorationRole:
            return IconOf(entry.kind);
        case kIconKindRole:
            return entry.kind;
        default:
            return {};
    }
}

QVariant LogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Status");
    return {};
}

Qt::ItemFlags LogModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace vk930
