#include "hosts/qt/accessibility/orca_speech_rate.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include "ui/a11y/speech_rate.h"

namespace qt_host {

namespace {

constexpr double DefaultRate = 50;

// The default voice's rate among `settings`' voices, if it names one.
std::optional<double> VoiceRate(const QJsonObject& settings) {
    const QJsonValue rate = settings["voices"].toObject()["default"].toObject()["rate"];
    return rate.isDouble() ? std::optional(rate.toDouble()) : std::nullopt;
}

} // namespace

OrcaSpeechRate::OrcaSpeechRate()
    : OrcaSpeechRate(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                     "/orca/user-settings.conf") {}

double OrcaSpeechRate::Pace() {
    // Orca rewrites the file when its preferences are saved: a stat per estimate follows that.
    const QFileInfo info(file_);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (modified == readAt_ && size == readSize_) {
        return pace_;
    }
    readAt_ = modified;
    readSize_ = size;
    QFile file(file_);
    const double rate = file.open(QIODevice::ReadOnly) ? RateIn(file.readAll()) : DefaultRate;
    pace_ = a11y::PaceAtOrcaRate(rate);
    return pace_;
}

double OrcaSpeechRate::RateIn(const QByteArray& settings) {
    const QJsonObject prefs = QJsonDocument::fromJson(settings).object();
    const QJsonObject general = prefs["general"].toObject();
    const QJsonArray starting = general["startingProfile"].toArray();
    const QString profile = starting.size() > 1 ? starting[1].toString() : QString("default");
    if (const auto rate = VoiceRate(prefs["profiles"].toObject()[profile].toObject())) {
        return *rate;
    }
    return VoiceRate(general).value_or(DefaultRate);
}

} // namespace qt_host
