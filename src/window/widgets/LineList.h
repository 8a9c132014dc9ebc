#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

#include <memory>

class TReplyLog;

// A read-only list of text lines that draws only the lines in view and keeps nothing of its own,
// so that a line added costs the same after a million as after one, and nothing is drawn while
// the list is hidden. It stays at the end while it is scrolled to the end. A very long line is
// shown shortened.
class TLineList : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Where the lines come from.
    class ISource {
    public:
        virtual ~ISource() = default;
        virtual qsizetype Count() const = 0;
        // The first `maxLength` characters of a line, and whether it has more.
        virtual QString LineStart(qsizetype index, qsizetype maxLength, bool* longer) const = 0;
        virtual QString Line(qsizetype index) const = 0;
        // The time a line began, drawn in a column of its own; empty when none is shown.
        virtual QString Stamp(qsizetype) const { return {}; }
    };

    explicit TLineList(const QString& objectName, QWidget* parent = nullptr);

    // The source shown (not owned).
    void SetSource(const ISource* source);
    // Lines were added to (or removed from) the source: the scroll range and the view follow
    // once, on the next pass of the event loop, however many lines came meanwhile.
    void Refresh();

    int Count() const;
    QString Item(int index) const;
    QStringList Items() const;

    static constexpr qsizetype ShownLength = 200;
    // The width of the column of times ("14:03:22.517"), which the lines' text follows.
    int StampWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int RowHeight() const;
    int VisibleRows() const;
    void UpdateScrollRange();
    void ApplyRefresh();
    const ISource* source_ = nullptr;
    bool refreshPending_ = false;
};

// The reply list lbBufRead: the session's reply log, a token per line.
class TReplyList : public TLineList {
    Q_OBJECT
public:
    explicit TReplyList(const QString& objectName, QWidget* parent = nullptr);
    ~TReplyList() override;
    void SetLog(const TReplyLog* log);
    // Shows only what arrives from now on (the log itself, and port.log, keep everything).
    void ClearShown();

private:
    class TLogSource;
    std::unique_ptr<TLogSource> source_;
};

// A memo of lines that the window appends to and clears (the recording list MemoRead).
class TMemoList : public TLineList {
    Q_OBJECT
public:
    explicit TMemoList(const QString& objectName, QWidget* parent = nullptr);
    ~TMemoList() override;
    void AppendLine(const QString& text);
    void Clear();
    // The lines joined by line breaks.
    QString Text() const;

private:
    class TLines;
    std::unique_ptr<TLines> lines_;
};
