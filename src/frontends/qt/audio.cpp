// Sound: PCM through the default audio output, and the desktop's beep.
#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QPointer>
#include <atomic>

#include "frontends/qt/port.h"
#include "platform/platform.h"

namespace {

enum OutputState : int { unknown, present, absent };
std::atomic<int> outputstate{unknown};

// The sound playing now (main thread only); none when idle.
QPointer<QAudioSink> playing;

void finish(QAudioSink* sink, QBuffer* buffer)
{
    sink->stop();
    sink->deleteLater();
    buffer->deleteLater();
}

void play(const std::vector<int16_t>& samples, int channels, int rate)
{
    if (playing && playing->state() == QAudio::ActiveState)
        return;  // the bell is still ringing: not restarted
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(channels);
    format.setSampleFormat(QAudioFormat::Int16);
    auto* buffer = new QBuffer(qApp);
    buffer->setData(reinterpret_cast<const char*>(samples.data()),
                    qsizetype(samples.size() * sizeof(int16_t)));
    buffer->open(QIODevice::ReadOnly);
    auto* sink = new QAudioSink(device, format, qApp);
    QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink, buffer](QAudio::State state) {
        if (state == QAudio::IdleState || state == QAudio::StoppedState)
            finish(sink, buffer);
    });
    playing = sink;
    sink->start(buffer);
}

bool outputpresent()
{
    int state = outputstate.load();
    if (state == unknown) {
        bool present = false;
        platform::run_on_main([&] { present = !QMediaDevices::audioOutputs().isEmpty(); });
        state = present ? OutputState::present : absent;
        outputstate.store(state);
    }
    return state == OutputState::present;
}

bool play_pcm(const std::vector<int16_t>& samples, int channels, int rate)
{
    if (!platform::available() || samples.empty() || channels < 1 || rate < 1 || !outputpresent())
        return false;
    platform::post_to_main([samples, channels, rate] { play(samples, channels, rate); });
    return true;
}

void system_beep()
{
    platform::post_to_main([] { QApplication::beep(); });
}

}  // namespace

void addsound(platform::Port& port)
{
    port.play_pcm = play_pcm;
    port.system_beep = system_beep;
}
