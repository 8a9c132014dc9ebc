#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStringList>

// The lines of the reply list: every received character is appended to the last line, and a
// '*' starts a new one, so each line is one reply token. The list is never emptied while the
// program runs; a very long line is shown shortened but kept whole.
class TReplyListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TReplyListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void AppendText(const QString& text);
    const QStringList& Lines() const { return lines_; }

    static constexpr qsizetype ShownLength = 200;

private:
    QStringList lines_;
};

class TReplyList : public QListView {
    Q_OBJECT
public:
    explicit TReplyList(const QString& objectName, QWidget* parent = nullptr);

    void AppendText(const QString& text);
    int Count() const { return int(model_->Lines().size()); }
    QString Item(int index) const { return model_->Lines().value(index); }
    const QStringList& Items() const { return model_->Lines(); }

private:
    TReplyListModel* model_;
};
