#include "projbridge_base.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

namespace {

// Marks every text it translates with its context and comment, so a test can see how each text was asked for.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* comment, int) const override
    {
        const QString mark = QString::fromUtf8(context) + (comment ? "/" + QString::fromUtf8(comment) : QString());
        return "[" + mark + "]" + QString::fromUtf8(sourceText);
    }
};

// The texts a user reads on the form's own widgets (the wizard's standard buttons belong to Qt).
QStringList formTexts(const ProjbridgeBase& form)
{
    QStringList texts{form.windowTitle(), form.DetailsText->toPlainText()};
    for (const QWizardPage* page : {form.Page0, form.Page1, form.Page2, form.Page3}) {
        // The hint lines are empty until the controller has something to say.
        for (const QLabel* label : page->findChildren<QLabel*>()) {
            if (label->pixmap().isNull() && !label->text().isEmpty()) {
                texts << label->text();
            }
        }
        for (const QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
            texts << button->text();
        }
        for (const QGroupBox* box : page->findChildren<QGroupBox*>()) {
            if (!box->title().isEmpty()) {
                texts << box->title();
            }
        }
        for (const QWidget* widget : page->findChildren<QWidget*>()) {
            if (!widget->toolTip().isEmpty()) {
                texts << widget->toolTip();
            }
        }
    }
    return texts;
}

// What a user reads or works; the images and frame lines only decorate.
bool userNeeds(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->pixmap().isNull();
    }
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const QProgressBar*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QGroupBox*>(widget);
}

} // namespace

// The form builds itself as the Designer file says and sets every text through its translation context.
class FormTest : public QObject {
    Q_OBJECT

private slots:
    void objectName();
    void opensAtLeastAtItsDesignedSize();
    void pagesInOrderWithoutTitles();
    void imagesHaveTheirSizes();
    void toolTipsAreExact();
    void everyTextIsTranslatedInItsContext();
    void languageChangeKeepsTheDetailsPane();
    void everyWidgetShowsWhole();
};

void FormTest::objectName()
{
    QCOMPARE(ProjbridgeBase().objectName(), "ProjbridgeBase");
    QCOMPARE(ProjbridgeBase(nullptr, "converter wizard").objectName(), "converter wizard");
}

void FormTest::opensAtLeastAtItsDesignedSize()
{
    ProjbridgeBase form;
    QCOMPARE(form.size(), form.minimumSize());
    QVERIFY(form.width() >= 543 && form.height() >= 486);
    QCOMPARE(form.windowTitle(), "Projbridge 1.2");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // It shrinks no further, and what a user reads grows with it.
    form.resize(100, 100);
    QVERIFY(form.width() >= 543 && form.height() >= 486);
    const QSize paneBefore = form.DetailsText->size();
    const int fieldBefore = form.VDSPProjectEdit->width();
    form.resize(form.size() + QSize(200, 150));
    QTRY_VERIFY(form.VDSPProjectEdit->width() > fieldBefore);
    form.next();
    form.next();
    form.next();
    QTRY_VERIFY(form.DetailsText->width() > paneBefore.width() && form.DetailsText->height() > paneBefore.height());
}

void FormTest::pagesInOrderWithoutTitles()
{
    ProjbridgeBase form;
    QCOMPARE(form.pageIds(), (QList<int>{0, 1, 2, 3}));
    for (int id = 0; id < 4; ++id) {
        QCOMPARE(form.page(id)->objectName(), QStringLiteral("Page%1").arg(id));
        QVERIFY(form.page(id)->title().isNull());
        QCOMPARE(form.page(id)->parentWidget()->window(), &form);
    }
    for (const QCheckBox* box : form.Page2->findChildren<QCheckBox*>()) {
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    }
    QCOMPARE(form.Page2->findChildren<QCheckBox*>().size(), 8);
}

void FormTest::imagesHaveTheirSizes()
{
    ProjbridgeBase form;
    QCOMPARE(form.bannerPixmap.size(), QSize(532, 36));
    QCOMPARE(form.stripPixmap.size(), QSize(532, 19));
    QVERIFY(form.pixmapLabel3_3_2_2->hasScaledContents());
}

void FormTest::toolTipsAreExact()
{
    ProjbridgeBase form;
    QCOMPARE(form.VDSPProjectEdit->toolTip(), "Path to the .dpj project file");
    QCOMPARE(form.VDSPInstallDirEdit->toolTip(), "Location of VisualDSP install directory.");
    QVERIFY(form.AnalPersonEdit->toolTip().isEmpty());
}

void FormTest::everyTextIsTranslatedInItsContext()
{
    ProjbridgeBase form;
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QCoreApplication::sendPostedEvents(&form, QEvent::LanguageChange);

    const QStringList texts = formTexts(form);
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(texts.size(), 44);
    for (const QString& text : texts) {
        QVERIFY2(text.startsWith("[ProjbridgeBase"), qPrintable(text));
    }
    QVERIFY(texts.contains("[ProjbridgeBase/Location of CodeWarrior install directory.]"
                           "Location of VisualDSP install directory."));
    QVERIFY(texts.contains("[ProjbridgeBase/Path to the .dpj project file.]Path to the .dpj project file"));
    QCOMPARE(texts.filter("[ProjbridgeBase/").size(), 5);
    QVERIFY(form.Page0->title().isNull());
}

void FormTest::languageChangeKeepsTheDetailsPane()
{
    ProjbridgeBase form;
    form.DetailsText->setPlainText("Initialising Project Conversion ...\n<converter output> & more");
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QCoreApplication::sendPostedEvents(&form, QEvent::LanguageChange);
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(form.DetailsText->toPlainText(), "Initialising Project Conversion ...\n<converter output> & more");
    QVERIFY(form.ReportCheck->text().startsWith("[ProjbridgeBase]"));
}

// Whatever the platform's style and fonts, no widget that a user reads or works is squeezed below its size hint,
// with the hint lines full and the busy bar showing.
void FormTest::everyWidgetShowsWhole()
{
    ProjbridgeBase form;
    const QString longestHint = "Name: a project name holds no < > : \" | ? * or control character, which Windows "
                                "forbids in file names.";
    form.Page0HintLabel->setText(longestHint);
    form.Page1HintLabel->setText(longestHint);
    form.BusyIndicator->show();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (QWizardPage* page : {form.Page0, form.Page1, form.Page2, form.Page3}) {
        QCOMPARE(form.currentPage(), page);
        QCoreApplication::processEvents();
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(page) || !userNeeds(widget)) {
                continue;
            }
            // Wrapped text needs the height of its lines at the width it has.
            const QSize hint = widget->hasHeightForWidth() ? QSize(0, widget->heightForWidth(widget->width()))
                                                           : widget->sizeHint();
            const QString squeezed = QStringLiteral("%1 is smaller than %2 x %3").arg(widget->objectName());
            QVERIFY2(widget->width() >= hint.width() && widget->height() >= hint.height(),
                     qPrintable(squeezed.arg(hint.width()).arg(hint.height())));
        }
        form.next();
    }
}

QTEST_MAIN(FormTest)
#include "form_test.moc"
