// Helpers of the shell's tests: driving modal windows, suite copies, settings files, and an
// editor launcher that records instead of starting anything.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/editor.hpp"

// Drives modal dialogs, message boxes and menus: each step waits for the next modal window
// or popup menu to come up, then acts on it. Steps left when the deadline passes are dropped
// and the window then open is closed, so a test fails instead of hanging.
class ModalDriver {
public:
    using Step = std::function<void(QWidget*)>;

    ModalDriver() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    }

    // Queues a step for the next modal window or popup that is not the one acted on last.
    void Then(Step step) { steps_.push_back(std::move(step)); }

    // Starts watching; call before the code that runs the modal windows.
    void Start(int timeoutMs = 10000) {
        deadline_ = QDeadlineTimer(timeoutMs);
        timer_.start();
    }

    // True when every step has run.
    bool Done() const { return steps_.empty() && !timedOut_; }
    int Pending() const { return static_cast<int>(steps_.size()); }

private:
    static QWidget* Current() {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            return popup;
        }
        return QApplication::activeModalWidget();
    }

    void Poll() {
        if (steps_.empty()) {
            timer_.stop();
            return;
        }
        QWidget* current = Current();
        if (current != nullptr && current != last_ && current->isVisible()) {
            last_ = current;
            Step step = std::move(steps_.front());
            steps_.pop_front();
            step(current);
        } else if (deadline_.hasExpired()) {
            timedOut_ = true;
            steps_.clear();
            timer_.stop();
            if (current != nullptr) {
                current->close();
            }
        }
    }

    QTimer timer_;
    std::deque<Step> steps_;
    QPointer<QWidget> last_;
    QDeadlineTimer deadline_;
    bool timedOut_ = false;
};

// Records each start of the editor instead of starting it.
class RecordingEditor final : public platform::EditorLauncher {
public:
    bool StartEditor(const std::string& path) override {
        paths.push_back(path);
        return true;
    }
    std::vector<std::string> paths;
};

// Copies the directory tree from into to (created); false on any failure.
inline bool CopyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) {
        return false;
    }
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    const QDir source(from);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(path));
        if (it.fileInfo().isDir() ? !QDir().mkpath(target) : !QFile::copy(path, target)) {
            return false;
        }
    }
    return true;
}

// Writes the suite's settings file rivazivu.ini into dir with the given keys (a null
// QString leaves a key out).
inline bool WriteSettings(const QString& dir, const QString& home, const QString& path) {
    QFile file(QDir(dir).filePath(QStringLiteral("rivazivu.ini")));
    if (!QDir().mkpath(dir) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QByteArray text = "[SYSTEM]\n";
    if (!home.isNull()) {
        text += "HOME=" + home.toUtf8() + "\n";
    }
    if (!path.isNull()) {
        text += "PATH=" + path.toUtf8() + "\n";
    }
    return file.write(text) == text.size();
}

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
