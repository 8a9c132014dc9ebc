// The program's real file dialogs, driven as an operator would: a name typed without ".kvt"
// gets it, and the save dialog asks before it replaces a file.
#include "QtDialogs.h"
#include "ProgramFolder.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `step` on the modal window of type T as soon as it is shown.
template <typename T> void WhenShown(std::function<void(T*)> step) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            step(window);
        }
    });
    timer->start();
}

void TypeAndAccept(QFileDialog* dialog, const QString& name) {
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
    static_cast<QDialog*>(dialog)->accept(); // the Save or Open button
}

class FileDialogFixture : public ::testing::Test {
protected:
    QString Users() const { return folder.File("Users"); }
    ProgramFolder folder;
    TQtDialogs dialogs;
};

} // namespace

TEST_F(FileDialogFixture, ANameTypedWithoutExtensionGetsKvt) {
    QString title;
    WhenShown<QFileDialog>([&](QFileDialog* d) {
        title = d->windowTitle();
        TypeAndAccept(d, "pump");
    });
    EXPECT_EQ(dialogs.SaveFileName(Users(), "KVT-Prog-1.kvt", "Save program as"), Users() + "/pump.kvt");
    EXPECT_EQ(title, "KVT_Program - Save program as") << "titled by what it does";

    folder.Write("Users/pump.kvt", "x");
    WhenShown<QFileDialog>([](QFileDialog* d) { TypeAndAccept(d, "pump"); });
    EXPECT_EQ(dialogs.OpenFileName(Users(), "*.kvt"), Users() + "/pump.kvt");
}

TEST_F(FileDialogFixture, SavingOverAnExistingProgramAsksFirst) {
    folder.Write("Users/pump.kvt", "x");
    bool asked = false;
    WhenShown<QFileDialog>([&](QFileDialog* d) {
        WhenShown<QMessageBox>([&, d](QMessageBox* box) {
            asked = true;
            box->button(QMessageBox::No)->click();
            d->reject(); // the operator thinks better of it
        });
        TypeAndAccept(d, "pump");
    });
    EXPECT_EQ(dialogs.SaveFileName(Users(), "KVT-Prog-1.kvt"), QString());
    EXPECT_TRUE(asked);

    WhenShown<QFileDialog>([&](QFileDialog* d) {
        WhenShown<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        TypeAndAccept(d, "pump");
    });
    EXPECT_EQ(dialogs.SaveFileName(Users(), "KVT-Prog-1.kvt"), Users() + "/pump.kvt");
}

TEST(QtMessageBoxes, ReturnOnAShownBoxGivesItsDefaultAnswer) {
    TQtDialogs dialogs;
    const auto returnOnTheBox = [] {
        WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    };
    returnOnTheBox();
    EXPECT_FALSE(dialogs.Confirm("Write it?")) << "Cancel, the default of a question that writes";
    returnOnTheBox();
    EXPECT_TRUE(dialogs.Confirm("Go on?", true));
    returnOnTheBox();
    EXPECT_EQ(dialogs.AskSave("Save the work?"), IDialogs::SaveChoice::Cancel);
}
