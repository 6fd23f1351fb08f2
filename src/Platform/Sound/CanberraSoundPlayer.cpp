#include "Platform/Sound/CanberraSoundPlayer.h"

#include "Platform/Dispatch.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <canberra.h>
#include <dlfcn.h>
#include <mutex>

namespace tremlor {

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...)
{
}

// ALSA writes every failed device probe to standard error (eight lines per open without a
// sound card). Its error handler is process-wide: set a silent one in the copy of the library
// the audio backend will load. ALSA's headers are not needed for one function.
void silenceAlsa()
{
    static std::once_flag once;
    std::call_once(once, [] {
        void* alsa = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
        if (!alsa)
            return; // another audio backend: nothing to silence
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        if (auto set = reinterpret_cast<SetHandler>(::dlsym(alsa, "snd_lib_error_set_handler")))
            set(&ignoreAlsaError);
        // Kept open: the handler lives in the library the backend shares.
    });
}

} // namespace

struct CanberraSoundPlayer::Context {
    ca_context* context = nullptr;
    ~Context()
    {
        if (context)
            ca_context_destroy(context);
    }
    // Opens the audio system on first use; false (and silence) without a device.
    bool ensureOpen()
    {
        if (context)
            return true;
        silenceAlsa();
        if (ca_context_create(&context) != CA_SUCCESS)
            return false;
        ca_context_change_props(
            context, CA_PROP_APPLICATION_NAME, "Tremlor", CA_PROP_APPLICATION_ID, "com.tremlor.app", nullptr);
        if (ca_context_open(context) != CA_SUCCESS) {
            ca_context_destroy(context);
            context = nullptr;
            return false;
        }
        return true;
    }
};

CanberraSoundPlayer::CanberraSoundPlayer(QString soundsFolder)
    : m_folder(std::move(soundsFolder))
    , m_queue(std::make_unique<dispatch::SerialQueue>(QStringLiteral("com.tremlor.app.sound")))
    , m_context(std::make_shared<Context>())
{
}

CanberraSoundPlayer::~CanberraSoundPlayer()
{
    // The queue's thread ends before the context it uses goes away.
    m_queue.reset();
}

QString CanberraSoundPlayer::fileFor(const QString& name) const
{
    // Only plain names: never a path taken from outside.
    if (name.isEmpty() || name.contains(u'/') || name.startsWith(u'.'))
        return {};
    QStringList folders;
    if (!m_folder.isEmpty()) {
        folders << m_folder;
    } else {
        const QString appDir = QCoreApplication::applicationDirPath();
        folders << appDir + QStringLiteral("/sounds") << appDir + QStringLiteral("/../share/tremlor/sounds");
    }
    for (const QString& folder : folders) {
        const QFileInfo file(folder + u'/' + name + QStringLiteral(".wav"));
        if (file.isFile() && file.isReadable())
            return file.absoluteFilePath();
    }
    return {};
}

void CanberraSoundPlayer::play(const QString& name)
{
    const QString file = fileFor(name);
    if (file.isEmpty())
        return;
    m_queue->async([context = m_context, path = file.toLocal8Bit()] {
        if (!context->ensureOpen())
            return;
        ca_context_play(context->context, 0, CA_PROP_MEDIA_FILENAME, path.constData(), CA_PROP_EVENT_DESCRIPTION,
            "Tremlor", nullptr);
    });
}

void CanberraSoundPlayer::flush()
{
    m_queue->sync([] {});
}

} // namespace tremlor
