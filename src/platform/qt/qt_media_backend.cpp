#include "platform/qt/qt_media_backend.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSource>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/paths.h"

namespace platform {
namespace {

bool OnGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return !app || QThread::currentThread() == app->thread();
}

// Runs fn on the user-interface thread: at once when already there, else queued (and waited
// for only when wait is set, so a worker holding a lock never waits on the UI thread).
void OnGui(std::function<void()> fn, bool wait) {
  if (OnGuiThread()) {
    fn();
    return;
  }
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn),
                            wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

// One file on a QMediaPlayer. Position and end are kept in atomics, updated on the UI thread
// by a 20 ms poll, so any thread may read them. When the player reports an error the channel
// keeps time with the steady clock instead, as the silent backend would. The Qt side holds
// the shared state, so a signal arriving after the channel is gone touches nothing freed.
class QtPlaybackChannel : public media::PlaybackChannel {
 public:
  QtPlaybackChannel(const std::string& path, int64_t length) : s_(std::make_shared<State>()) {
    s_->length = length;
    std::shared_ptr<State> s = s_;
    OnGui(
        [s, path] {
          s->player = new QMediaPlayer;
          s->player->setAudioOutput(new QAudioOutput(s->player));
          s->timer = new QTimer(s->player);
          s->timer->setInterval(20);
          QObject::connect(s->timer, &QTimer::timeout, s->player, [s] { Poll(*s); });
          QObject::connect(s->player, &QMediaPlayer::mediaStatusChanged, s->player,
                           [s](QMediaPlayer::MediaStatus st) {
                             if (st == QMediaPlayer::EndOfMedia) Finish(*s);
                           });
          QObject::connect(s->player, &QMediaPlayer::errorOccurred, s->player,
                           [s](QMediaPlayer::Error e, const QString&) {
                             if (e != QMediaPlayer::NoError) s->failed = true;
                           });
          s->player->setSource(QUrl::fromLocalFile(QString::fromStdString(paths::ToHost(path))));
        },
        true);
  }
  ~QtPlaybackChannel() override {
    std::shared_ptr<State> s = s_;
    OnGui(
        [s] {
          if (!s->player) return;
          s->player->disconnect();
          s->timer->disconnect();
          s->player->stop();
          s->player->deleteLater();
          s->player = nullptr;
        },
        false);
  }

  void Play(int64_t fromMs, int64_t toMs) override {
    State& st = *s_;
    st.from = std::clamp<int64_t>(fromMs, 0, st.length);
    st.to = std::clamp<int64_t>(toMs, st.from.load(), st.length);
    st.position = st.from.load();
    st.ended = false;
    st.playing = true;
    st.clockStart = media::SteadyMs();
    std::shared_ptr<State> s = s_;
    int64_t from = st.from;
    OnGui(
        [s, from] {
          if (!s->player) return;
          s->player->setPosition(from);
          s->player->play();
          s->timer->start();
        },
        false);
  }
  void Pause() override {
    s_->position = PositionMs();
    s_->playing = false;
    std::shared_ptr<State> s = s_;
    OnGui(
        [s] {
          if (!s->player) return;
          s->player->pause();
          s->timer->stop();
        },
        false);
  }
  void Stop() override { Pause(); }
  int64_t PositionMs() override {
    State& st = *s_;
    if (st.failed && st.playing) return std::min(st.to.load(), st.from + media::SteadyMs() - st.clockStart);
    return st.position;
  }
  bool Ended() override {
    if (s_->failed && s_->playing) return PositionMs() >= s_->to;
    return s_->ended;
  }

 private:
  struct State {
    QMediaPlayer* player = nullptr;  // owned by the UI thread
    QTimer* timer = nullptr;
    int64_t length = 0;
    std::atomic<int64_t> from{0}, to{0}, position{0}, clockStart{0};
    std::atomic<bool> ended{false}, playing{false}, failed{false};
  };
  static void Poll(State& s) {
    if (!s.playing || !s.player) return;
    int64_t pos = s.player->position();
    s.position = std::max<int64_t>(pos, s.from);
    if (pos >= s.to) Finish(s);
  }
  static void Finish(State& s) {
    if (!s.playing) return;
    s.position = s.to.load();
    s.ended = true;
    s.playing = false;
    if (s.player) s.player->pause();
    if (s.timer) s.timer->stop();
  }

  std::shared_ptr<State> s_;
};

// Reads one sample of channel c of frame i as a value from -1 to 1.
double SampleAt(const char* data, const QAudioFormat& f, int64_t i, int c) {
  const char* p = data + (i * f.channelCount() + c) * f.bytesPerSample();
  switch (f.sampleFormat()) {
    case QAudioFormat::UInt8: return (static_cast<unsigned char>(*p) - 128) / 128.0;
    case QAudioFormat::Int16: {
      int16_t v;
      std::memcpy(&v, p, 2);
      return v / 32768.0;
    }
    case QAudioFormat::Int32: {
      int32_t v;
      std::memcpy(&v, p, 4);
      return v / 2147483648.0;
    }
    case QAudioFormat::Float: {
      float v;
      std::memcpy(&v, p, 4);
      return v;
    }
    default: return 0;
  }
}

// Converts what the device delivers into the format the media control asked for: channels
// mixed down or copied up, the rate changed by linear interpolation.
std::string Convert(const QByteArray& in, const QAudioFormat& from, const media::PcmFormat& to) {
  int frameBytes = from.bytesPerFrame();
  if (frameBytes <= 0 || from.sampleRate() <= 0) return {};
  int64_t frames = in.size() / frameBytes;
  double step = static_cast<double>(from.sampleRate()) / to.sampleRate;
  int64_t outFrames = static_cast<int64_t>(frames / step);
  std::string out;
  out.reserve(static_cast<size_t>(outFrames * to.channels * to.bitsPerSample / 8));
  auto mono = [&](int64_t i) {
    double sum = 0;
    for (int c = 0; c < from.channelCount(); ++c) sum += SampleAt(in.constData(), from, i, c);
    return sum / from.channelCount();
  };
  for (int64_t o = 0; o < outFrames; ++o) {
    double x = o * step;
    int64_t i = static_cast<int64_t>(x);
    double t = x - i;
    double v = mono(i) * (1 - t) + (i + 1 < frames ? mono(i + 1) : mono(i)) * t;
    v = std::clamp(v, -1.0, 1.0);
    for (int c = 0; c < to.channels; ++c) {
      if (to.bitsPerSample == 8) {
        out.push_back(static_cast<char>(std::lround(v * 127) + 128));
      } else {
        int16_t s = static_cast<int16_t>(std::lround(v * 32767));
        out.append(reinterpret_cast<const char*>(&s), 2);
      }
    }
  }
  return out;
}

// The default input device through QAudioSource, in the asked format when the device takes
// it, else in the device's own format converted on the way out.
class QtRecordingChannel : public media::RecordingChannel {
 public:
  QtRecordingChannel(const QAudioDevice& device, const media::PcmFormat& want) : want_(want) {
    QAudioFormat f;
    f.setSampleRate(want.sampleRate);
    f.setChannelCount(want.channels);
    f.setSampleFormat(want.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    exact_ = device.isFormatSupported(f);
    format_ = exact_ ? f : device.preferredFormat();
    OnGui([&] { source_ = new QAudioSource(device, format_); }, true);
  }
  ~QtRecordingChannel() override {
    QAudioSource* s = source_;
    OnGui(
        [s] {
          s->stop();
          delete s;
        },
        true);
  }
  bool Start() override {
    bool ok = false;
    OnGui(
        [&] {
          if (source_->state() == QAudio::SuspendedState) {
            source_->resume();
            ok = true;
            return;
          }
          QIODevice* io = source_->start();
          if (!io || source_->error() != QAudio::NoError) return;
          QObject::connect(io, &QIODevice::readyRead, source_, [this, io] {
            std::lock_guard<std::mutex> lock(m_);
            buffer_.append(io->readAll());
          });
          ok = true;
        },
        true);
    return ok;
  }
  void Pause() override {
    OnGui([this] { source_->suspend(); }, true);
  }
  void Stop() override {
    OnGui([this] { source_->stop(); }, true);
  }
  std::string TakeSamples() override {
    QByteArray got;
    {
      std::lock_guard<std::mutex> lock(m_);
      int frame = format_.bytesPerFrame();
      int whole = frame > 0 ? buffer_.size() / frame * frame : 0;
      got = buffer_.left(whole);
      buffer_.remove(0, whole);
    }
    if (exact_) return std::string(got.constData(), static_cast<size_t>(got.size()));
    return Convert(got, format_, want_);
  }

 private:
  media::PcmFormat want_;
  QAudioFormat format_;
  bool exact_ = false;
  QAudioSource* source_ = nullptr;
  std::mutex m_;
  QByteArray buffer_;
};

}  // namespace

std::unique_ptr<media::PlaybackChannel> QtMediaBackend::OpenPlayback(const std::string& path,
                                                                    const media::MediaInfo& info) {
  if (!QCoreApplication::instance()) return nullptr;
  bool haveOutput = false;
  OnGui([&] { haveOutput = !QMediaDevices::audioOutputs().isEmpty(); }, true);
  if (!haveOutput) return nullptr;  // the media control keeps time with the silent clock
  return std::make_unique<QtPlaybackChannel>(path, info.lengthMs);
}

std::unique_ptr<media::RecordingChannel> QtMediaBackend::OpenRecording(const media::PcmFormat& format) {
  if (!QCoreApplication::instance()) return nullptr;
  QAudioDevice device;
  OnGui([&] { device = QMediaDevices::defaultAudioInput(); }, true);
  if (device.isNull()) return nullptr;
  return std::make_unique<QtRecordingChannel>(device, format);
}

void InstallQtMediaBackend() {
  static QtMediaBackend backend;
  media::SetBackend(&backend);
}

}  // namespace platform
