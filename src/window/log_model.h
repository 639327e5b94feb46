#pragma once
// The entries of the operation log: a text and an icon kind each, in the order they came.
#include <QAbstractListModel>
#include <QPixmap>
#include <QString>
#include <array>
#include <vector>

namespace vk930 {

// The size of the log's icons, in pixels.
inline constexpr int kLogIconPixels = 16;

class LogModel : public QAbstractListModel {
    Q_OBJECT
  public:
    // The icon kind of an entry, as an int (0 failure, 1 success, 2 progress).
    static constexpr int kIconKindRole = Qt::UserRole + 1;

    explicit LogModel(QObject* parent = nullptr);

    void Append(QString text, int kind);
    void Clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    struct Entry {
        QString text;
        int kind;
    };
    QVariant IconOf(int kind) const;

    std::vector<Entry> entries_;
    mutable std::array<QPixmap, 3> icons_;  // image index = icon kind; drawn when first shown
};

}  // namespace vk930
