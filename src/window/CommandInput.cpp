#include "CommandInput.h"

#include "core/AppError.h"
#include "editor/CommandList.h"
#include "editor/TypedCommand.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "panels/CommandToolPanel.h"
#include "protocol/UnitKVTComands.h"
#include "session/OperatorSettings.h"
#include "session/ProgramEditor.h"
#include "settings/CommandHistory.h"
#include "widgets/Design.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using K = TKVTCommands;

TCommandInput::TCommandInput(const TRooms& rooms, QWidget* parent) : QWidget(parent), rooms_(rooms) {
    setObjectName("CommandInput");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    lblCommandLine = Design::Label("lblCommandLine", {}, this);
    EditCommandLine = Design::Edit("EditCommandLine", {}, 64, this);
    lblCommandLine->setBuddy(EditCommandLine);
    lblCommandMeaning = Design::Label("lblCommandMeaning", {}, this);
    // A long description is cut rather than widening the list.
    lblCommandMeaning->setMinimumWidth(1);
    lblCommandMeaning->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(lblCommandLine, 0, 0);
    grid->addWidget(EditCommandLine, 0, 1);
    grid->addWidget(lblCommandMeaning, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    EditCommandLine->installEventFilter(this);
    connect(EditCommandLine, &QLineEdit::returnPressed, this, &TCommandInput::Enter);
    connect(EditCommandLine, &QLineEdit::textEdited, this, [this] {
        historyAt_ = -1;
        Describe();
    });
    connect(&rooms_.options, &TOperatorSettings::ShownValuesChanged, this, [this] {
        ApplyTexts();
        Describe();
    });
    ApplyTexts();
}

void TCommandInput::ApplyTexts() {
    const TLang& lang = rooms_.options.Lang();
    lblCommandLine->setText(lang.ExtraText(Ext::CommandLineLabel));
    EditCommandLine->setToolTip(lang.ExtraText(Ext::CommandLineHint) + "\n" +
                                lang.ExtraText(Ext::CommandLineInsertHint));
}

void TCommandInput::ShowWhereCommandsGo() {
    if (EditCommandLine->text().trimmed().isEmpty())
        Describe();
}

void TCommandInput::Describe() {
    const TLang& lang = rooms_.options.Lang();
    const int point = rooms_.editor.List().InsertPoint();
    const QString meaning = !EditCommandLine->text().trimmed().isEmpty()
                                ? TTypedCommand::Describe(EditCommandLine->text(), rooms_.commands, lang)
                            : point >= 0 ? lang.ExtraText(Ext::EditorInsertsBefore).arg(point + 1)
                                         : lang.ExtraText(Ext::EditorAddsAtEnd);
    lblCommandMeaning->setText(meaning);
    lblCommandMeaning->setToolTip(meaning);
    lblCommandMeaning->setStyleSheet(QString());
}

void TCommandInput::Enter() {
    const QString text = EditCommandLine->text().trimmed();
    if (text.isEmpty())
        return;
    if (const QString refusal = Add(text); !refusal.isEmpty()) {
        // Said beside the line, not in a box: the boxes belong to the described buttons.
        lblCommandMeaning->setText(refusal);
        lblCommandMeaning->setToolTip(refusal);
        lblCommandMeaning->setStyleSheet("color: #c00000");
        return;
    }
    rooms_.options.History().Add(text);
    historyAt_ = -1;
    EditCommandLine->clear();
    Describe();
}

QString TCommandInput::Add(const QString& text) {
    const TLang& lang = rooms_.options.Lang();
    const TTypedCommand typed = TTypedCommand::Read(text, rooms_.commands, lang);
    if (!typed.refusal.isEmpty())
        return typed.refusal;
    TProgramEditor::TAddOutcome outcome;
    try {
        bool whole = false;
        const int channel = typed.argument.toInt(&whole);
        // LD n as the LD buttons add it: with the automatic BG and EN of the settings.
        outcome = typed.index == K::LD && whole && channel >= 1 && channel <= 3
                      ? rooms_.editor.AddRecordingStart(channel)
                      : rooms_.editor.AddCommand(typed.index, typed.argument);
    } catch (const EAppError& error) {
        return TCommandToolPanel::ReportsParameterError(typed.index) ? lang.Message(Msg::ParameterIncorrect)
                                                                     : error.Text();
    }
    if (outcome.kind == TProgramEditor::TAddOutcome::Busy)
        return lang.ExtraText(Ext::DirectControlBusy);
    return outcome.kind == TProgramEditor::TAddOutcome::Refused ? outcome.refusal : QString();
}

void TCommandInput::Complete() {
    const QStringList codes = TTypedCommand::Completions(EditCommandLine->text());
    if (codes.size() == 1)
        EditCommandLine->setText(codes.first());
    Describe(); // several: the codes it may become
}

void TCommandInput::Walk(int step) {
    const QStringList& entries = rooms_.options.History().Entries();
    if (entries.isEmpty())
        return;
    if (historyAt_ < 0) {
        if (step > 0)
            return;
        typing_ = EditCommandLine->text();
        historyAt_ = int(entries.size());
    }
    historyAt_ = std::max(0, historyAt_ + step);
    if (historyAt_ >= entries.size()) {
        historyAt_ = -1;
        EditCommandLine->setText(typing_);
    } else {
        EditCommandLine->setText(entries[historyAt_]);
    }
    Describe();
}

bool TCommandInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditCommandLine && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Walk(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
        if (key == Qt::Key_Tab && !EditCommandLine->text().trimmed().isEmpty()) {
            Complete();
            return true; // an empty line lets Tab move on, as everywhere
        }
    }
    return QWidget::eventFilter(watched, event);
}
