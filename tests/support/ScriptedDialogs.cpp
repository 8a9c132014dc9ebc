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

bool ScriptedDialogs::Confirm(const QString& text) {
    confirmations.append(text);
    if (confirmAnswers.empty())
        return true;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::OpenFileName(const QString& folder, const QString& fileName) {
    fileDialogs.append("open " + folder + "|" + fileName);
    if (fileAnswers.empty())
        return {};
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::SaveFileName(const QString& folder, const QString& fileName) {
    fileDialogs.append("save " + folder + "|" + fileName);
    if (fileAnswers.empty())
        return {};
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}
