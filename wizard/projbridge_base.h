#pragma once

#include "ui_projbridgebase.h"

#include <QPixmap>
#include <QWizard>

class QPushButton;

// The wizard's form: builds the four pages from the Designer form and sets every text; no behaviour.
class ProjbridgeBase : public QWizard, public Ui::ProjbridgeBase {
    Q_OBJECT

public:
    explicit ProjbridgeBase(QWidget* parent = nullptr, const QString& name = {}, bool modal = false,
                            Qt::WindowFlags flags = {});

    QPixmap bannerPixmap;
    QPixmap stripPixmap;
    // In the wizard's button row, shown by the controller once a run has something to open.
    QPushButton* OpenReportBtn;
    QPushButton* OpenFolderBtn;

protected slots:
    // Sets every text again, through the translation context "ProjbridgeBase"; the details pane keeps what it
    // holds once it no longer shows the form's own initial text.
    virtual void languageChange();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The size the pages need, whatever the platform keeps its layout in.
    QSize neededSize() const;
    // Opens at, and shrinks no further than, the larger of the designed size and what the pages need.
    void keepNeededSize();
    QString initialDetailsText;
};
