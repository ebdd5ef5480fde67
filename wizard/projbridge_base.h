#pragma once

#include "ui_projbridgebase.h"

#include <QPixmap>
#include <QWizard>

// The wizard's form: builds the four pages from the Designer form and sets every text; no behaviour.
class ProjbridgeBase : public QWizard, public Ui::ProjbridgeBase {
    Q_OBJECT

public:
    explicit ProjbridgeBase(QWidget* parent = nullptr, const QString& name = {}, bool modal = false,
                            Qt::WindowFlags flags = {});

    QPixmap bannerPixmap;
    QPixmap stripPixmap;

protected slots:
    // Sets every text again, through the translation context "ProjbridgeBase".
    virtual void languageChange();

protected:
    void changeEvent(QEvent* event) override;
};
