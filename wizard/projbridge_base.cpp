#include "projbridge_base.h"

#include "images/banner.xpm"
#include "images/strip.xpm"

#include <QEvent>
#include <QPushButton>

namespace {

// The wizard never opens or shrinks smaller than the pages were drawn for.
constexpr QSize designedSize{543, 486};
// The width the explanations were drawn at.
constexpr int explanationWidth = 481;

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

    // A long hint wraps onto a second line rather than widen the window. The hint lines keep the height of two
    // lines while empty, and the busy bar its room while hidden, so that nothing moves when they fill.
    for (QLabel* hint : {Page0HintLabel, Page1HintLabel}) {
        hint->setWordWrap(true);
        hint->setMinimumHeight(2 * hint->fontMetrics().height());
    }
    QSizePolicy busyPolicy = BusyIndicator->sizePolicy();
    busyPolicy.setRetainSizeWhenHidden(true);
    BusyIndicator->setSizePolicy(busyPolicy);

    languageChange();
    keepNeededSize();
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
    // The wizard takes its size from its pages' minimum sizes, which do not know that wrapped text needs more
    // lines when narrower: each explanation keeps the height of its lines at the width it was drawn at.
    for (QLabel* explanation : {textLabel2_2, textLabel2_2_2, textLabel2_2_2_2}) {
        explanation->setMinimumHeight(explanation->heightForWidth(explanationWidth));
    }
}

// On Windows the wizard lays its pages out in a child widget of its own, so that it knows no minimum size itself
// and would let the pages be squeezed: the child's need counts too.
// Wrapped text may narrow, taking more lines: the width is the least the pages take, the height the one they ask.
QSize ProjbridgeBase::neededSize() const
{
    const auto need = [](const QWidget* widget) {
        return QSize(widget->minimumSizeHint().width(), widget->sizeHint().height());
    };
    QSize needed = need(this);
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->layout() != nullptr) {
            needed = needed.expandedTo(need(child));
        }
    }
    return needed;
}

// The pages' needs are known in full only once the style has polished them, when the window is first shown.
void ProjbridgeBase::keepNeededSize()
{
    const QSize needed = neededSize().expandedTo(designedSize);
    setMinimumSize(needed);
    resize(size().expandedTo(needed));
}

void ProjbridgeBase::showEvent(QShowEvent* event)
{
    keepNeededSize();
    QWizard::showEvent(event);
}

void ProjbridgeBase::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        languageChange();
    }
    QWizard::changeEvent(event);
}
