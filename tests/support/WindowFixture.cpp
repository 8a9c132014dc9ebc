#include "WindowFixture.h"

#include "SessionRooms.h"
#include "Wait.h"
#include "core/UnitCommonDatas.h"
#include "editor/CommandList.h"
#include "lang/Lang.h"
#include "widgets/LogView.h"
#include "widgets/RadioGroup.h"

bool SwitchLanguage(TForm1& form, const QString& code) {
    if (!form.Session().Options().ChangeLanguage(code).isEmpty())
        return false;
    form.LanguageChanged();
    return true;
}

kvtsim::Options WindowFixture::FastMotions() {
    kvtsim::Options options;
    options.timeScale = 0.01;
    return options;
}

void WindowFixture::StartSimulator(const kvtsim::Options& options) {
    simulator.SetOptions(options);
    std::string error;
    ASSERT_TRUE(simulator.Start(folder.File("ports/COM1").toStdString(), &error)) << error;
}

void WindowFixture::CreateWindow(int controlMode) {
    form = std::make_unique<TForm1>(folder.Path());
    if (controlMode >= 0)
        form->rgrSingl_Mult->Click(controlMode);
}

void WindowFixture::AllowSlowAnswers() {
    SetReplyTime(60000);
}

void WindowFixture::SetReplyTime(quint32 ms) {
    TSettings settings = Session().Options().Settings();
    settings.ReplyTime = ms;
    Session().Options().Apply(settings);
}

TSession& WindowFixture::Session() const {
    return form->Session();
}

const TCommonDatas& WindowFixture::Datas() const {
    return form->Session().Datas();
}

const TChannelState& WindowFixture::Coords() const {
    return form->Session().Controller().State();
}

QString WindowFixture::M(int i) const {
    return form->Session().Lang().Message(i);
}

QString WindowFixture::Ext(int i) const {
    return form->Session().Lang().ExtraText(i);
}

QStringList WindowFixture::LogLines() const {
    return form->MemoLog->Lines();
}

void WindowFixture::SendList(const QStringList& lines) {
    form->Session().Editor().Replace(lines);
    form->btnRunTRClick();
}

bool WindowFixture::WaitForEnd(int timeoutMs) {
    return WaitUntil([&] { return !form->Session().Controller().Sending().IsSending(); }, timeoutMs);
}
