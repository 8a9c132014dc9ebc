#pragma once

#include <QFrame>

class QLabel;

// A framed panel with an optional caption, like the panels of the main window whose caption
// carries information (the open port, the selected channels). Children are laid out by the
// owner through Body(), a widget that fills the panel beside the caption.
class TPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPanel(const QString& objectName, QWidget* parent = nullptr);

    QString Caption() const;
    void SetCaption(const QString& text);
    // Shows the caption at the left of the panel (hidden while empty).
    QLabel* CaptionLabel() const { return caption_; }

private:
    QLabel* caption_;
};
