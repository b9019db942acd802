#pragma once

#include <QString>

#include <functional>

class Connectivity;
class QWidget;

// Where a run of the program finds its files; empty values are the usual
// places. Benchmarks start the program elsewhere.
struct ProgramPlaces {
    QString folder; // server.new, credentials, store: the executable's folder
    QString lockFolder; // the single-instance lock: the session's runtime folder
    // Called once the main window is shown, before the event loop runs.
    std::function<void(QWidget &mainWindow)> shown;
    // The connectivity checks in place of the system's; must outlive the run.
    Connectivity *net = nullptr;
};

// The whole run of CotaKelvo, from the single-instance guard to the end of
// the event loop; main() is this call. The exit code.
int runCotaKelvo(int &argc, char **argv, const ProgramPlaces &places = {});
