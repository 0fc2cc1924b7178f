#pragma once

#include <QString>
#include <QStringList>

// The README's demo in a folder of a test's own: scripts/demo-prepare publishes a release and makes
// an older installation with its settings (program/, config/, dijeljeno/), and scripts/demo-server
// serves the release on 127.0.0.1 until the end of the object. Until it serves, the settings name a
// server that is down (port 1).
class DemoPosluzitelj {
public:
    // Prepares the demo in `folder`; false (with a test failure) when the script failed.
    bool pripremi(const QString& folder);
    // Starts the prepared demo's server and points its settings at it.
    bool posluži();
    ~DemoPosluzitelj();

    // Runs one of the project's scripts; its standard output goes to `output`.
    static bool run(const QString& script, const QStringList& arguments, QString* output = nullptr);

private:
    QString folder_;
    qint64 pid_ = 0;
};
