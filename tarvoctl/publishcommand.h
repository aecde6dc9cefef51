// tarvoctl publish: every value set of the sensor to the plant's MQTT broker.
#pragma once

#include "commands.h"
#include "publisher.h"

#include <QCommandLineOption>
#include <QList>
#include <QSet>
#include <QString>

class QCommandLineParser;

namespace tarvo::ctl {

struct PublishOptions {
    QString host;
    int port = 0;
    QString name;
    QString prefix = QString::fromLatin1(publish::kDefaultPrefix);
    bool triggered = false;  // else polled every intervalMs
    int intervalMs = 0;
    double seconds = 0.0;    // 0: until Ctrl+C or SIGTERM
    QString spoolDir;
    int queueLimit = publish::Publisher::kDefaultQueue;
    bool tls = false;
    QString cafile, certfile, keyfile;
    QString username;
    QString password;        // from --password-file or TARVO_MQTT_PASSWORD, never the command line
};

// The options only publish takes, for the parser.
QList<QCommandLineOption> publishOptions();
// Every option publish takes, by long name.
QSet<QString> publishOptionNames();
// Takes publish's options from the parser into `o`, reading the password
// file; the reason when one is wrong or missing. --seconds, --interval and
// --queue are numbers, which the caller reads.
QString readPublishOptions(const QCommandLineParser& p, PublishOptions& o);

int publishValues(const Target& target, const PublishOptions& options);

} // namespace tarvo::ctl
