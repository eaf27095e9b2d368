// The listener's speech rate as Orca keeps it (its settings file, read again when it changes),
// as a pace for the tuner's speech estimate (a11y::Announcer::Pace).
#pragma once

#include <QDateTime>
#include <QString>

namespace qt_host {

class OrcaSpeechRate {
public:
    // Orca's settings in the user's data folder ($XDG_DATA_HOME, else ~/.local/share).
    OrcaSpeechRate();
    explicit OrcaSpeechRate(QString settingsFile) : file_(std::move(settingsFile)) {}

    // 1 at Orca's default rate, and where no settings say otherwise.
    double Pace();
    // The default voice's rate in the starting profile, else in the general settings; Orca's
    // default (50) where neither has one or the file cannot be read.
    static double RateIn(const QByteArray& settings);

private:
    QString file_;
    QDateTime readAt_;
    qint64 readSize_ = -2; // nothing read yet: a missing file reads as -1
    double pace_ = 1.0;
};

} // namespace qt_host
