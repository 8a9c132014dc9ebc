#include "Panel.h"

#include <QLabel>

TPanel::TPanel(const QString& objectName, QWidget* parent) : QFrame(parent), caption_(new QLabel(this)) {
    setObjectName(objectName);
    setFrameShape(QFrame::StyledPanel);
    caption_->setObjectName(objectName + "Caption");
    caption_->setTextFormat(Qt::PlainText);
}

QString TPanel::Caption() const {
    return caption_->text();
}

void TPanel::SetCaption(const QString& text) {
    caption_->setText(text);
}
