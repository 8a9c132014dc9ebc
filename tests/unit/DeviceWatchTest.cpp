// Devices that come and go: a lost device counts as back only when it was gone or is another
// node now, whatever else changes in its folders; the device folders' watch says when they
// change.
#include "serial/DeviceWatch.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

bool Touch(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

} // namespace

TEST(DeviceWatch, ANodeThatOutlivesItsHangUpIsNoReturnAReplugIs) {
    QTemporaryDir dev, ports;
    const QString node = dev.filePath("ttyUSB0");
    ASSERT_TRUE(Touch(node));
    const QString link = ports.filePath("COM1");
    ASSERT_TRUE(QFile::link(node, link));
    TDeviceWatch watch;
    QStringList returned;
    QObject::connect(&watch, &TDeviceWatch::Returned, [&](const QString& d) { returned << d; });
    watch.Watch(link);

    // Its folders change, the same node stays: not back.
    ASSERT_TRUE(Touch(dev.filePath("ttyUSB1")));
    ASSERT_TRUE(Touch(ports.filePath("COM2")));
    RunEventsFor(300);
    EXPECT_TRUE(returned.isEmpty());
    EXPECT_TRUE(watch.Watching());

    // Unplugged, then plugged in again under the same name (whether or not the gap was seen):
    // back, once.
    ASSERT_TRUE(QFile::remove(node));
    ASSERT_TRUE(Touch(node));
    ASSERT_TRUE(WaitUntil([&] { return !returned.isEmpty(); }, 10000));
    EXPECT_EQ(returned, QStringList{link});
    EXPECT_FALSE(watch.Watching());
}

TEST(DeviceWatch, ALinkPointedAtAnotherNodeIsAReturnAndAMissingFolderIsWatchedFromAbove) {
    QTemporaryDir root;
    const QString byId = root.filePath("serial/by-id");
    const QString adapter = byId + "/usb-FTDI-if00";
    TDeviceWatch watch;
    QStringList returned;
    QObject::connect(&watch, &TDeviceWatch::Returned, [&](const QString& d) { returned << d; });
    watch.Watch(adapter); // the whole serial folder is gone with the last adapter
    EXPECT_EQ(watch.Folders(), QStringList{root.path()});
    ASSERT_TRUE(QDir().mkpath(byId));
    ASSERT_TRUE(Touch(root.filePath("ttyUSB3")));
    ASSERT_TRUE(QFile::link(root.filePath("ttyUSB3"), adapter));
    ASSERT_TRUE(WaitUntil([&] { return !returned.isEmpty(); }, 10000));
    EXPECT_EQ(returned, QStringList{adapter});
}
