#pragma once

#include <QStringList>
#include <QWidget>

// A hidden list of text lines (the command list as it is sent, the scratch list for files). It
// is never drawn, so it costs nothing to keep even very long lists in it.
class THiddenMemo : public QWidget {
    Q_OBJECT
public:
    explicit THiddenMemo(const QString& objectName, QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(objectName);
        hide();
    }
    QStringList Lines;
};
