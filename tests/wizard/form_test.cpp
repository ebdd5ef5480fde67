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
    void detailsPaneAndButtonsUseTheNormalFont();
};

void FormTest::objectName()
{
    QCOMPARE(ProjbridgeBase().objectName(), "ProjbridgeBase");
    QCOMPARE(ProjbridgeBase(nullptr, "converter wizard").objectName(), "converter wizard");
}

void FormTest::opensAtLeastAtItsDesignedSize()
{
    ProjbridgeBase form;
    QVERIFY(form.width() >= 543);
    QVERIFY(form.height() >= 486);
    QCOMPARE(form.size(), form.minimumSizeHint().expandedTo(QSize(543, 486)));
    QCOMPARE(form.windowTitle(), "Projbridge 1.2");

    // Shown, it holds the tallest page and keeps that size: the pages are drawn at fixed positions.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.currentPage()->height() >= 440);
    QCOMPARE(form.maximumSize(), form.size());
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
    QCOMPARE(form.pixmapLabel3_2_2->geometry(), QRect(0, 0, 532, 36));
    QCOMPARE(form.pixmapLabel3_3_2_2->geometry(), QRect(0, 390, 532, 20));
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

    QCOMPARE(texts.size(), 42);
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

void FormTest::detailsPaneAndButtonsUseTheNormalFont()
{
    ProjbridgeBase form;
    const QFont normal = QApplication::font();
    QCOMPARE(form.DetailsText->font().pointSizeF(), normal.pointSizeF());
    for (QWizard::WizardButton which : {QWizard::NextButton, QWizard::CancelButton, QWizard::CustomButton1}) {
        QCOMPARE(form.button(which)->font().pointSizeF(), normal.pointSizeF());
    }
    QCOMPARE(form.VDSPProjectBrowseBtn->font().pointSizeF(), normal.pointSizeF());
}

QTEST_MAIN(FormTest)
#include "form_test.moc"
