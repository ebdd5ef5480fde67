#include "projbridge_base.h"

#include "images/banner.xpm"
#include "images/strip.xpm"

#include <QEvent>

namespace {

// The wizard never opens smaller than the pages were drawn for.
constexpr QSize designedSize{543, 486};
constexpr qreal formFontPointSize = 7.5;

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
    setupUi(this);

    // The fixed positions were drawn for a small, narrow font; wider default fonts would clip the labels.
    QFont formFont = font();
    formFont.setPointSizeF(formFontPointSize);
    formFont.setStretch(QFont::SemiCondensed);
    setFont(formFont);

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

void ProjbridgeBase::languageChange()
{
    retranslateUi(this);
    for (WizardStepPage* page : {Page0, Page1, Page2, Page3}) {
        page->setTitle(QString());
    }
}

void ProjbridgeBase::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        languageChange();
    }
    QWizard::changeEvent(event);
}
