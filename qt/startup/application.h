#pragma once

#include <QApplication>

// The application object: names the program and turns any failure that
// escapes an event handler into one clear report and a non-zero exit.
class GalevaneApplication final : public QApplication
{
public:
    GalevaneApplication(int &argc, char **argv);
    Q_DISABLE_COPY_MOVE(GalevaneApplication)

    bool notify(QObject *receiver, QEvent *event) override;
};

// Writes the one-line report of an unexpected failure to standard error.
void reportUnexpectedFailure(const char *what);

inline constexpr int unexpectedFailureExitCode = 70;
