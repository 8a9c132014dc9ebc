#pragma once

#include <QFrame>

#include <functional>
#include <utility>
#include <vector>

class QLineEdit;
class QToolButton;
class TLang;

// pnlTools: a button for each command of the editor, with the edit that holds its argument where
// it takes one, and the program buttons LD1, ED, ST, PS1 at the bottom. A click reports which
// command to add with which argument; the main window adds it. LD1, ST and PS1 each carry a menu
// of the channels (LD2, ST3, ...): the button's own click stays what its caption says.
class TCommandToolPanel : public QFrame {
    Q_OBJECT
public:
    explicit TCommandToolPanel(QWidget* parent = nullptr);
    // Each button's hint in the language in use (in English, the hints the controls have).
    void ApplyTexts(const TLang& lang);
    // Whether a bad argument of command `index` is answered with "Parameter value is
    // incorrect" (else with the general error report), as its button answers it.
    static bool ReportsParameterError(int index);

signals:
    // Add command `index` with `argument` ("no" for none). A bad argument is answered with
    // "Parameter value is incorrect" when `reportsParameterError`, otherwise by the general
    // error report.
    void CommandChosen(int index, const QString& argument, bool reportsParameterError);
    // LD n: the start of a recording into channel n, with the commands the settings add after it.
    void RecordingStartChosen(int channel);

private:
    // The menu of `button`: `code` for each channel 1 to 3 (and `code` alone first when
    // `allChannels`), each chosen as `chosen(argument)` would be.
    void AddChannelMenu(QToolButton* button, const QString& code, bool allChannels,
                        const std::function<void(const QString&)>& chosen);
    // `made`, when given, is the button (a kind of its own), else a plain tool button is made.
    QToolButton* AddTool(int index, const char* name, const QString& caption, const QString& hint,
                         int hintText, QLineEdit* edit, bool reportsParameterError,
                         QToolButton* made = nullptr);
    std::vector<std::pair<QToolButton*, int>> hints_; // each button and its hint's extra text
};
