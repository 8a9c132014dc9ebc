#pragma once

#include "session/ProgramDocument.h"

#include <QObject>

class QAction;
class QMenu;
class TLang;
class TOperatorSettings;
class TSending;

// The File menu's program files: "Load from file" and "Save to file" as described, "Save" to
// the list's own file, "Save as...", the recent files, plain text import and export, and the
// question Save / Discard / Cancel before the operator's work would be lost. It asks the
// operator (file dialogs, questions); the document does what the answers say.
class TFileMenu : public QObject {
    Q_OBJECT
public:
    struct TActions {
        QAction *open, *saveToFile, *save, *saveAs, *import, *exportText;
        QMenu* recent;
    };
    TFileMenu(const TActions& actions, TProgramDocument& document, TOperatorSettings& options,
              const TSending& sending, QObject* parent = nullptr);

    // "Load from file", "Save to file", "Save", "Save as...", "Import text...", "Export text...".
    void Open();
    void SaveToFile();
    void Save();
    void SaveAs();
    void Import();
    void Export();
    // Loads `fileName` as "Load from file" loads it, after the question when work is unsaved
    // (unless the caller has `asked` it already).
    void Load(const QString& fileName, bool asked = false);
    // Before the operator's work would be lost (a quit, a load, an import): when no file holds
    // it, asks Save / Discard / Cancel (the default). True when the action may go on.
    bool MayDiscard();
    // The recent files' menu, as the settings hold them.
    void UpdateRecent();

private:
    bool SaveTo(const QString& fileName, const TProgramDocument::TText& text);
    bool SaveWithDialog(const QString& proposed, const TProgramDocument::TText& text);
    void LoadNow(const QString& fileName);
    void OpenRecent(const QString& fileName);
    // While a list is being sent nothing replaces the list (the one shown is the one sent):
    // true, said in a box, when that is so.
    bool Sending() const;

    TActions actions_;
    TProgramDocument& document_;
    TOperatorSettings& options_;
    const TSending& sending_;
};

// The lines of an import (or a paste) that were refused, told in one box, and a message when
// none was taken; true when there are commands to take.
bool ShowImportRefusals(const PlainTextProgram::TImported& imported, const QString& name, const TLang& lang);
