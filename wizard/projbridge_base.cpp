#include "projbridge_base.h"

#include "images/banner.xpm"
#include "images/strip.xpm"

#include <QEvent>
#include <QPushButton>
#include <QShowEvent>

namespace {

// The wizard never opens smaller than the pages were drawn for.
constexpr QSize designedSize{543, 486};
constexpr qreal smallFontPointSize = 7.5;

void paintBackground(QWidget* widget, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(role, Qt::white);
    widget->setPalette(palette);
}

} // namespace

ProjbridgeBase::ProjbridgeBase(QWidget* parent, const QString& name, bool modal, Qt::WindowFlags flags)
    : QWizard(parent, flags), bannerPixmap(banner_xpm), stripPixmap(strip_xpm)
{
    setObjectName(name);
    setModal(modal);
    // One layout everywhere, the form's own: on Windows QWizard would move Back
    // into the title bar and drop the button row's colours.
    setWizardStyle(ClassicStyle);
    setupUi(this);

    OpenReportBtn = new QPushButton(this);
    OpenReportBtn->setObjectName(QStringLiteral("OpenReportBtn"));
    setButton(CustomButton1, OpenReportBtn);
    OpenFolderBtn = new QPushButton(this);
    OpenFolderBtn->setObjectName(QStringLiteral("OpenFolderBtn"));
    setButton(CustomButton2, OpenFolderBtn);
    // Hidden until placed in the button row: the default row leaves them out but would not hide them.
    OpenReportBtn->hide();
    OpenFolderBtn->hide();

    paintBackground(this, QPalette::Window);
    for (QPushButton* browse : {TavricProjectBrowseBtn, VDSPProjectBrowseBtn, VDSPInstallBrowseBtn, MsgBrowseBtn,
                                AnalBrowseBtn, CmpBrowseBtn}) {
        paintBackground(browse, QPalette::Window);
    }
    for (QLabel* banner : {pixmapLabel3, pixmapLabel3_2, pixmapLabel3_2_2, pixmapLabel3_2_2_2}) {
        banner->setPixmap(bannerPixmap);
    }
    for (QLabel* strip : {pixmapLabel3_3, pixmapLabel3_3_2, pixmapLabel3_3_2_2, pixmapLabel3_3_2_2_2}) {
        strip->setPixmap(stripPixmap);
    }

    languageChange();
    resize(minimumSizeHint().expandedTo(designedSize));
}

void ProjbridgeBase::showEvent(QShowEvent* event)
{
    // Only once shown has the wizard grown to hold its pages. They keep their drawn positions, so a larger
    // window would just move the buttons away from them.
    QWizard::showEvent(event);
    setFixedSize(size());
}

void ProjbridgeBase::languageChange()
{
    // A summary or a run log must survive the switch; only the form's own placeholder is translated anew.
    const bool paneInUse = !initialDetailsText.isNull() && DetailsText->toPlainText() != initialDetailsText;
    const QString paneContent = DetailsText->toHtml();
    retranslateUi(this);
    initialDetailsText = DetailsText->toPlainText();
    if (paneInUse) {
        DetailsText->setHtml(paneContent);
    }
    for (WizardStepPage* page : {Page0, Page1, Page2, Page3}) {
        page->setTitle(QString());
    }
    // Through the wizard, which would otherwise put back the texts the buttons had when they were added.
    setButtonText(CustomButton1, tr("Open Report"));
    OpenReportBtn->setToolTip(tr("Opens the conversion report in the system's viewer."));
    setButtonText(CustomButton2, tr("Open Folder"));
    OpenFolderBtn->setToolTip(tr("Opens the destination folder in the system's file manager."));
    shrinkFontsThatDoNotFit();
}

// The fixed positions were drawn for a small, narrow font: a label or check box whose text does not fit its
// width at the normal font takes that font, and every other widget keeps the normal one.
void ProjbridgeBase::shrinkFontsThatDoNotFit()
{
    QFont smallFont = font();
    smallFont.setPointSizeF(smallFontPointSize);
    smallFont.setStretch(QFont::SemiCondensed);
    const auto fitFont = [&smallFont](QWidget* widget, auto fits) {
        widget->setFont(QFont());
        if (!fits()) {
            widget->setFont(smallFont);
        }
    };
    for (WizardStepPage* page : {Page0, Page1, Page2, Page3}) {
        for (QLabel* label : page->findChildren<QLabel*>()) {
            // The welcome line has its own larger font; the images have no text.
            if (label == textLabel1_3_3 || !label->pixmap().isNull()) {
                continue;
            }
            fitFont(label, [label] {
                return label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                         : label->sizeHint().width() <= label->width();
            });
        }
        for (QCheckBox* box : page->findChildren<QCheckBox*>()) {
            fitFont(box, [box] { return box->sizeHint().width() <= box->width(); });
        }
    }
}

void ProjbridgeBase::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        languageChange();
    }
    QWizard::changeEvent(event);
}
