// A stand-in for the Dream decoder's windows in the key tests: the main
// window "Dream" opens "System Evaluation" on Alt+E; there the check box
// "&Log to file" starts and stops the log, which writes DreamLog.txt (a
// minute line every --minute-ms) and DreamLogLong.csv (a line a second) in
// the working folder, as Dream does. Every key that reaches either window
// is appended to keys.txt as "<window title>: <key>", so a test sees any
// key that went astray. --with-evaluation shows both windows at once;
// --deaf disables the box, a Dream that does not follow. UI thread.
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

void Append(const QString &name, const QByteArray &bytes) {
    QFile file(name);
    if (file.open(QIODevice::Append)) file.write(bytes);
}

QByteArray UtcText() { return QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd HH:mm:ss").toLatin1(); }

// Records each key once, where it is delivered first.
class TKeyRecorder : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::ShortcutOverride || watched != QApplication::focusObject()) return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat()) return false;
        switch (key->key()) {
        case Qt::Key_Alt: case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Meta: case Qt::Key_AltGr:
            return false;
        default:
            break;
        }
        const auto *widget = qobject_cast<QWidget *>(watched);
        const QString title = widget ? widget->window()->windowTitle() : QString("?");
        const QString text = QKeySequence(key->keyCombination()).toString(QKeySequence::PortableText);
        Append("keys.txt", (title + ": " + text + "\n").toUtf8());
        return false;
    }
};

// The log of the evaluation window: one header, minute lines, a trailer.
class TDreamLog {
public:
    explicit TDreamLog(int minuteMs) {
        seconds_.setInterval(1000);
        minutes_.setInterval(minuteMs);
        QObject::connect(&seconds_, &QTimer::timeout, [this] { Second(); });
        QObject::connect(&minutes_, &QTimer::timeout, [this] { Minute(); });
    }
    void Switch(bool on) {
        if (on) {
            minute_ = 0;
            Append("DreamLog.txt", "\n>>>>\nDream\nSoftware Version 2.3\nStarttime (UTC)  " + UtcText() +
                                       "\nFrequency        6095 kHz\nLatitude         \nLongitude        \n\n"
                                       "MINUTE  SNR     SYNC    AUDIO     TYPE\n");
            Second();
            seconds_.start();
            minutes_.start();
        } else {
            seconds_.stop();
            minutes_.stop();
            Append("DreamLog.txt", "\nSNR min: 9.0, max: 21.0\n<<<<\n\n");
        }
    }

private:
    void Second() { Append("DreamLogLong.csv", UtcText() + ",  15.2,  1,  1,  1, 100,  0.10,  0.50\n"); }
    // SNR 9 + 3 dB a minute, and every fourth minute without sync or audio.
    void Minute() {
        const bool synced = minute_ % 4 != 3;
        const QByteArray line = QString::asprintf("  %04d  %5.1f  %5d  %6d  %8d\n", minute_, 9.0 + 3 * (minute_ % 5),
                                                  synced ? 1 : 0, synced ? 10 * (minute_ + 1) : 0, 0)
                                    .toLatin1();
        Append("DreamLog.txt", line);
        ++minute_;
    }

    QTimer seconds_, minutes_;
    int minute_ = 0;
};

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    int minuteMs = 60000;
    const QStringList args = app.arguments();
    if (const qsizetype i = args.indexOf("--minute-ms"); i >= 0 && i + 1 < args.size()) minuteMs = args[i + 1].toInt();
    TKeyRecorder recorder;
    app.installEventFilter(&recorder);

    QWidget main;
    main.setWindowTitle("Dream");
    main.setGeometry(960, 700, 300, 120);
    QWidget evaluation;
    evaluation.setWindowTitle("System Evaluation");
    evaluation.setGeometry(960, 860, 300, 120);
    auto *logToFile = new QCheckBox("&Log to file", &evaluation);
    // A Dream whose log cannot be switched (its box disabled) still gets the keys.
    logToFile->setEnabled(!args.contains("--deaf"));
    (new QVBoxLayout(&evaluation))->addWidget(logToFile);
    TDreamLog log(minuteMs);
    QObject::connect(logToFile, &QCheckBox::toggled, [&log](bool on) { log.Switch(on); });
    QObject::connect(new QShortcut(QKeySequence("Alt+E"), &main), &QShortcut::activated, [&evaluation] {
        evaluation.show();
        evaluation.raise();
        evaluation.activateWindow();
    });
    main.show();
    if (args.contains("--with-evaluation")) evaluation.show();
    return app.exec();
}
