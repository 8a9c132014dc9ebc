#include "ListEditControls.h"

#include "CommandInput.h"
#include "FileMenu.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Settings.h"
#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "panels/CommandToolPanel.h"
#include "protocol/UnitKVTComands.h"
#include "session/ListEdits.h"
#include "session/OperatorSettings.h"
#include "session/ProgramEditor.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QShortcut>

namespace {

// Closes the in-place edit on Esc.
class TEscapeFilter : public QObject {
public:
    TEscapeFilter(QObject* parent, std::function<void()> close) : QObject(parent), close_(std::move(close)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        const bool escape =
            (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        if (!escape)
            return false;
        // Esc is the edit's here, not the window's "Stop sending".
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        else
            close_();
        return true;
    }

private:
    std::function<void()> close_;
};

} // namespace

TListEditControls::TListEditControls(const TRooms& rooms, TStringGrid* grid, TCommandInput* input,
                                     QMenu* editMenu, QObject* parent)
    : QObject(parent), rooms_(rooms), grid_(grid), input_(input) {
    editMenu->addSeparator();
    // In the menu, and as keys on the list while it has the focus (in an edit they keep their
    // own meaning).
    const struct {
        QAction** action;
        const char* name;
        QKeySequence::StandardKey key;
        void (TListEditControls::*handler)();
    } entries[] = {{&mmEditCut, "mmEditCut", QKeySequence::Cut, &TListEditControls::Cut},
                   {&mmEditCopy, "mmEditCopy", QKeySequence::Copy, &TListEditControls::Copy},
                   {&mmEditPaste, "mmEditPaste", QKeySequence::Paste, &TListEditControls::Paste}};
    for (const auto& e : entries) {
        *e.action = editMenu->addAction(QString());
        (*e.action)->setObjectName(e.name);
        connect(*e.action, &QAction::triggered, this, e.handler);
        auto* shortcut = new QShortcut(QKeySequence(e.key), grid_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, e.handler);
    }
    mmEditInsertMode = editMenu->addAction(QString());
    mmEditInsertMode->setObjectName("mmEditInsertMode");
    mmEditInsertMode->setCheckable(true);
    mmEditInsertMode->setShortcut(QKeySequence(Qt::Key_Insert));
    connect(mmEditInsertMode, &QAction::toggled, this, &TListEditControls::SelectionChanged);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* insert = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)), input_->EditCommandLine, nullptr,
                                     nullptr, Qt::WidgetShortcut);
        connect(insert, &QShortcut::activated, this, &TListEditControls::InsertTyped);
    }
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), grid_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(f2, &QShortcut::activated, this, [this] { EditRow(grid_->Row() - 1); });
    connect(grid_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { EditRow(index.row()); });

    const TCommandList* list = &rooms_.editor.List();
    // A new row comes into sight wherever it goes.
    connect(list, &QAbstractItemModel::rowsInserted, grid_,
            [this](const QModelIndex&, int, int last) { grid_->scrollTo(grid_->model()->index(last, 0)); });
    connect(list, &QAbstractItemModel::modelReset, this, &TListEditControls::SelectionChanged);
    // The grid's rows and their selection come with the list it shows.
    connect(grid_, &TStringGrid::ListSet, this, [this] {
        connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TListEditControls::SelectionChanged);
        SelectionChanged();
    });
    connect(&rooms_.options, &TOperatorSettings::ShownValuesChanged, this, &TListEditControls::ApplyTexts);
    ApplyTexts();
    SelectionChanged();
}

void TListEditControls::ApplyTexts() {
    const TLang& lang = rooms_.options.Lang();
    for (const auto& [action, text] :
         {std::pair{mmEditCut, Ext::EditCut}, std::pair{mmEditCopy, Ext::EditCopy},
          std::pair{mmEditPaste, Ext::EditPaste}, std::pair{mmEditInsertMode, Ext::EditInsertMode}})
        action->setText(lang.ExtraText(text));
    grid_->setToolTip(lang.ExtraText(Ext::EditRowHint));
}

void TListEditControls::SelectionChanged() {
    // Asked for, and one command selected: new ones go before it; else at the end.
    rooms_.editor.SetInsertPoint(mmEditInsertMode->isChecked() ? SelectedOne() : -1);
    input_->ShowWhereCommandsGo();
}

int TListEditControls::SelectedOne() const {
    const QItemSelectionModel* selection = grid_->selectionModel();
    const QModelIndexList rows = selection ? selection->selectedRows() : QModelIndexList{};
    return rows.size() == 1 ? rows.first().row() : -1;
}

void TListEditControls::InsertTyped() {
    rooms_.editor.SetInsertPoint(SelectedOne());
    input_->Enter();
    SelectionChanged();
}

QList<int> TListEditControls::Selected() const {
    QList<int> indices;
    for (int row : grid_->SelectedRows())
        indices << row - 1;
    return indices;
}

void TListEditControls::Copy() {
    if (const QList<int> indices = Selected(); !indices.isEmpty())
        QGuiApplication::clipboard()->setText(rooms_.edits.Copy(indices));
}

void TListEditControls::Cut() {
    if (const QList<int> indices = Selected(); !indices.isEmpty())
        QGuiApplication::clipboard()->setText(rooms_.edits.Cut(indices));
}

void TListEditControls::Paste() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.trimmed().isEmpty())
        return;
    const TLang& lang = rooms_.options.Lang();
    try {
        const PlainTextProgram::TImported imported = rooms_.edits.Paste(text, SelectedOne());
        ShowImportRefusals(imported, lang.ExtraText(Ext::ClipboardName), lang);
    } catch (const EAppError& error) {
        ReportError(error);
    }
}

void TListEditControls::EditRow(int index) {
    CloseEdit();
    if (index < 0 || index >= rooms_.editor.List().Count())
        return;
    editIndex_ = index;
    edit_ = new QLineEdit(rooms_.edits.Argument(index));
    edit_->setObjectName("EditRowArgument");
    edit_->installEventFilter(new TEscapeFilter(edit_, [this] { CloseEdit(); }));
    connect(edit_, &QLineEdit::returnPressed, this, [this] {
        if (TakeEdit())
            CloseEdit();
    });
    grid_->setIndexWidget(grid_->model()->index(index, EditColumn()), edit_);
    edit_->selectAll();
    edit_->setFocus();
}

bool TListEditControls::TakeEdit() {
    if (!edit_)
        return false;
    const TLang& lang = rooms_.options.Lang();
    const int code = TKVTCommands::CommandIndex(rooms_.editor.List().Line(editIndex_));
    try {
        const auto outcome = rooms_.edits.EditArgument(editIndex_, edit_->text());
        if (outcome.kind == TProgramEditor::TAddOutcome::Refused) {
            Dialogs().ShowError(outcome.refusal);
            return false;
        }
    } catch (const EAppError& error) {
        if (TCommandToolPanel::ReportsParameterError(code))
            Dialogs().ShowError(lang.Message(Msg::ParameterIncorrect));
        else
            ReportError(error);
        return false;
    }
    return true;
}

int TListEditControls::EditColumn() const {
    // Over the line where the codes are shown, else over the description (column 1 is narrow).
    return rooms_.options.Settings().ShowCodes ? TCommandList::LineColumn : TCommandList::DescriptionColumn;
}

void TListEditControls::CloseEdit() {
    if (!edit_)
        return;
    const int index = editIndex_;
    const QPointer<QLineEdit> edit = edit_;
    edit_ = nullptr;
    editIndex_ = -1;
    if (index < rooms_.editor.List().Count())
        grid_->setIndexWidget(grid_->model()->index(index, EditColumn()), nullptr);
    // A row taken anew leaves its edit to no index: it goes here.
    if (edit)
        edit->deleteLater();
    grid_->setFocus();
}
