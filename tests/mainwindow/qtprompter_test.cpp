#include "mainwindow/qtprompter.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace zerwa;

namespace {

// Runs `act` on the file dialog as soon as it is open and modal.
void whenDialogOpens(QObject* owner, std::function<void(QFileDialog*)> act) {
    auto* timer = new QTimer(owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, act] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

void typeAndAccept(QFileDialog* dialog, const QString& typed) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(typed);
    static_cast<QDialog*>(dialog)->accept(); // as the dialog's own accept button does
}

FileDialogRequest mapRequest(const QString& folder, const QString& preset) {
    return {QStringLiteral("Map tábla (*.qmt)"), QStringLiteral("qmt"), folder, preset};
}

} // namespace

class QtPrompterTest : public QObject {
    Q_OBJECT

private slots:
    void saveDialogProposesThePresetInsideTheFolder_data() {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("proposedFromFolder"); // relative to the folder, or empty
        QTest::newRow("bare name") << "elso8.qmt"
                                   << "elso8.qmt";
        QTest::newRow("full path elsewhere") << ""
                                             << "";
    }
    void saveDialogProposesThePresetInsideTheFolder() {
        QFETCH(QString, preset);
        QFETCH(QString, proposedFromFolder);
        QTemporaryDir folder;
        QTemporaryDir elsewhere;
        QString expected = QDir(folder.path()).filePath(proposedFromFolder);
        if (preset.isEmpty()) {
            preset = QDir(elsewhere.path()).filePath(QStringLiteral("mérés.qmt"));
            expected = preset;
        }
        QStringList proposed;
        QStringList filters;
        whenDialogOpens(this, [&](QFileDialog* dialog) {
            proposed = dialog->selectedFiles();
            filters = dialog->nameFilters();
            dialog->reject();
        });
        QtPrompter prompter;
        QCOMPARE(prompter.chooseFileToSave(mapRequest(folder.path(), preset)),
                 std::optional<QString>());
        QCOMPARE(proposed, QStringList({expected}));
        QCOMPARE(filters, QStringList({"Map tábla (*.qmt)"}));
    }

    void typedNameGetsTheDefaultExtension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("no extension") << "uj"
                                      << "uj.qmt";
        QTest::newRow("map extension") << "uj.qmt"
                                       << "uj.qmt";
        QTest::newRow("other extension") << "uj.txt"
                                         << "uj.txt";
    }
    void typedNameGetsTheDefaultExtension() {
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        QTemporaryDir folder;
        whenDialogOpens(this, [&](QFileDialog* dialog) { typeAndAccept(dialog, typed); });
        QtPrompter prompter;
        QCOMPARE(prompter.chooseFileToSave(mapRequest(folder.path(), "elso.qmt")),
                 std::optional<QString>(QDir(folder.path()).filePath(chosen)));
    }

    void openDialogFindsTheMapByItsBareName() {
        QTemporaryDir folder;
        const QString map = QDir(folder.path()).filePath("a.qmt");
        test::writeBytes(map, "qmt4\r\n");
        whenDialogOpens(this, [&](QFileDialog* dialog) {
            QCOMPARE(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
            typeAndAccept(dialog, "a");
        });
        QtPrompter prompter;
        QCOMPARE(prompter.chooseFileToOpen(mapRequest(folder.path(), QString())),
                 std::optional<QString>(map));
    }
};

QTEST_MAIN(QtPrompterTest)
#include "qtprompter_test.moc"
