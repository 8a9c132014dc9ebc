#include "lang/BuiltInTexts.h"
#include "serial/PortDevice.h"
#include "session/controller/PortInfo.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cerrno>

TEST(PortNumbering, NumbersNameTheSerialDevicesUnlessAPortLinkExists) {
    QTemporaryDir dir;
    EXPECT_EQ(PortDevice::DeviceForPort(dir.path(), 1), "/dev/ttyS0");
    EXPECT_EQ(PortDevice::DeviceForPort(dir.path(), 5), "/dev/ttyS4");
    EXPECT_EQ(PortDevice::DeviceForPort(dir.path(), 255), "/dev/ttyS254");

    const QString link = dir.filePath("COM3");
    ASSERT_TRUE(QFile::link("/dev/ttyUSB0", link));
    EXPECT_EQ(PortDevice::DeviceForPort(dir.path(), 3), link) << "a link counts even when its device is gone";
    EXPECT_EQ(PortDevice::DeviceForPort(dir.path(), 4), "/dev/ttyS3");
}

TEST(PortNumbering, OpenFailuresAreToldApartByTheirCause) {
    using PortDevice::OpenFailure;
    EXPECT_EQ(PortDevice::ClassifyOpenError(ENOENT), OpenFailure::NoDevice);
    EXPECT_EQ(PortDevice::ClassifyOpenError(ENXIO), OpenFailure::NoDevice);
    EXPECT_EQ(PortDevice::ClassifyOpenError(EACCES), OpenFailure::PermissionDenied);
    EXPECT_EQ(PortDevice::ClassifyOpenError(EBUSY), OpenFailure::Busy);
    EXPECT_EQ(PortDevice::ClassifyOpenError(ENOTTY), OpenFailure::NotSerial);
    EXPECT_EQ(PortDevice::ClassifyOpenError(EIO), OpenFailure::Other);
    EXPECT_FALSE(PortDevice::SystemErrorText(EIO).isEmpty());
}

TEST(PortInfo, DescribesTheLineWithTheBuiltInMessages) {
    const QStringList& m = BuiltIn::Messages();
    EXPECT_EQ(ComposePortInfo(1, 3, 0, 2, m), "Com1;  8 *bit, *stop-bit:  1;  *parity: even; ");
    EXPECT_EQ(ComposePortInfo(17, 0, 1, 3, m), "Com17;  5 *bit, *stop-bit:  1,5;  *parity: 1; ");
    EXPECT_EQ(ComposePortInfo(255, 2, 2, 4, m), "Com255;  7 *bit, *stop-bit:  2;  *parity: 0; ");
}

TEST(PortInfo, LeavesOutPiecesOutOfRange) {
    const QStringList& m = BuiltIn::Messages();
    EXPECT_EQ(ComposePortInfo(0, 4, 3, 5, m), "");
    EXPECT_EQ(ComposePortInfo(2, 9, 0, 9, m), "Com2;  *stop-bit:  1;  ");
}
