// Plant data over MQTT: simulated sensors in this process sending frames on
// their own at a fixed rate, one `tarvoctl publish` process per sensor, one
// local mosquitto broker, and a subscriber here that counts what arrives
// and when. Optionally the broker is stopped for a while in the middle.
#pragma once

#include <QString>
#include <optional>

namespace tarvo::bench {

struct PublishSetup {
    int sensors = 16;
    double rateHz = 50.0;
    double seconds = 20.0;  // each publisher's --seconds
    double outageAt = 0.0;  // seconds after the start the broker stops; 0: never
    double outageSeconds = 0.0;
};

struct PublishRun {
    long long sent = 0;           // frames the sensors sent while sending on their own
    long long delivered = 0;      // distinct (sensor, seq) the subscriber received
    long long duplicates = 0;     // repeats of a seq already received (QoS 1 allows them)
    bool inOrder = true;          // every new seq of a sensor came right after its highest before
    double cpu = 0;               // CPU seconds of the publisher processes together
    double p50Ms = 0, p99Ms = 0;  // sensor's frame sent to the subscriber's receipt
    int failedPublishers = 0;     // processes that did not end with exit code 0
    QString note;                 // the first such failure's message
};

// The tarvoctl program beside this one, or empty.
QString findTarvoctl();

// Runs one case; none with the reason when it cannot run at all.
std::optional<PublishRun> runPublishing(const QString& tarvoctl, const PublishSetup& setup, QString* error);

}  // namespace tarvo::bench
