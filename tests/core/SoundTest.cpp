#include "Platform/Sound/CanberraSoundPlayer.h"

#include <QFile>
#include <QTemporaryFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

using namespace tremlor;

// The build makes the Pop sound; a broken file would play nothing on every start and stop.
TEST(PopSound, BuildMakesAPlayablePcmWaveThatPlaysWithoutFailing)
{
    CanberraSoundPlayer player(QStringLiteral(TREMLOR_TEST_SOUNDS_DIR));
    const QString path = player.fileFor("Pop");
    ASSERT_FALSE(path.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    ASSERT_GE(wav.size(), 44);
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
    EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 20), 1); // PCM
    EXPECT_EQ(u32(40), quint32(wav.size() - 44));
    EXPECT_GT(u32(40), 0u);

    // Only plain names resolve, and playing never fails.
    for (const QString name : { "../sounds/Pop", "/etc/passwd", "Glass" })
        EXPECT_TRUE(player.fileFor(name).isEmpty()) << name.toStdString();
    // With or without an audio device: no crash, no exception, the queue drains, and
    // standard error stays for what a user should read (no audio library's probe noise).
    QTemporaryFile captured;
    ASSERT_TRUE(captured.open());
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(captured.handle(), STDERR_FILENO);
    for (const QString name : { "Pop", "Glass", "Pop" })
        player.play(name);
    player.flush();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    captured.seek(0);
    EXPECT_EQ(captured.readAll(), "");
}
