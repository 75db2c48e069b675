#include "mainwindow/teditform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zerwa;

class TEditFormTest : public QObject {
    Q_OBJECT

private slots:
    void looksAsDesigned() {
        QWidget window;
        TEditForm form(false, &window);
        QCOMPARE(form.windowTitle(), QStringLiteral("EditForm"));
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(form.minimumSize(), form.maximumSize()); // not resizable
        QCOMPARE(form.StaticText1->size(), QSize(280, 40));
        QCOMPARE(form.StaticText1->frameShadow(), QFrame::Sunken);
        QVERIFY(form.StaticText1->font().pointSizeF() > form.BitBtn1->font().pointSizeF());
        QVERIFY(form.Edit1->font().pointSizeF() > form.BitBtn1->font().pointSizeF());
        QVERIFY(form.BitBtn1->isDefault());
        // OK comes first in the tab order, the value field next.
        QWidget* next = form.BitBtn1->nextInFocusChain();
        while (next != form.BitBtn1 && !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        QCOMPARE(next, form.Edit1);
    }

    void returnsTheTypedTextWithOkFocusedFirst() {
        QWidget window;
        window.setGeometry(100, 100, 720, 500);
        window.show();
        TEditForm form(true, &window);
        QString focusedAtOpen;
        QTimer::singleShot(0, &form, [&] {
            focusedAtOpen = form.focusWidget() ? form.focusWidget()->objectName() : QString();
            QCOMPARE(form.StaticText1->text(), QStringLiteral("Az érték 0,5 - 63,5 közötti szám!"));
            QCOMPARE(form.Edit1->text(), QStringLiteral("abc"));
            form.Edit1->setText(QStringLiteral("12,5"));
            QTest::keyClick(form.BitBtn1, Qt::Key_Return);
        });
        const QString answer =
            form.askValue(QStringLiteral("Az érték 0,5 - 63,5 közötti szám!"), "abc");
        QCOMPARE(answer, QStringLiteral("12,5"));
        QCOMPARE(focusedAtOpen, QStringLiteral("BitBtn1"));
        // Centred on the main window.
        const QPoint offset = form.frameGeometry().center() - window.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4, "not centred on the main window");
    }

    void escapeStillReturnsTheText() {
        TEditForm form(false);
        QTimer::singleShot(0, &form, [&] {
            form.Edit1->setText(QStringLiteral("9"));
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        QCOMPARE(form.askValue(QStringLiteral("r"), QStringLiteral("0")), QStringLiteral("9"));
    }
};

QTEST_MAIN(TEditFormTest)
#include "teditform_test.moc"
