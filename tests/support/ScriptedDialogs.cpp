#include "ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs() : previous_(SetDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs() {
    SetDialogs(previous_);
}

void ScriptedDialogs::ShowMessage(const QString& text) {
    messages.append(text);
    if (onMessage)
        onMessage(text);
}

void ScriptedDialogs::ShowError(const QString& text) {
    errors.append(text);
    ShowMessage(text);
}

bool ScriptedDialogs::Confirm(const QString& text, bool defaultAnswer, bool) {
    confirmations.append(text);
    // Unscripted, as an operator pressing Return on the real box.
    if (confirmAnswers.empty())
        return defaultAnswer;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

IDialogs::SaveChoice ScriptedDialogs::AskSave(const QString& text) {
    saveQuestions.append(text);
    if (saveAnswers.empty())
        return SaveChoice::Cancel;
    const SaveChoice answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::NextFile(const QString& kind, const QString& folder, const QString& fileName) {
    fileDialogs.append(kind + " " + folder + "|" + fileName);
    if (fileAnswers.empty())
        return {};
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::OpenFileName(const QString& folder, const QString& fileName, const QString& title) {
    fileDialogTitles << title;
    return NextFile("open", folder, fileName);
}

QString ScriptedDialogs::SaveFileName(const QString& folder, const QString& fileName, const QString& title) {
    fileDialogTitles << title;
    return NextFile("save", folder, fileName);
}
