#pragma once

#include <QWizardPage>

// A wizard page whose completeness (Next, or Finish on the last page) the controller sets.
class WizardStepPage : public QWizardPage {
    Q_OBJECT

public:
    explicit WizardStepPage(QWidget* parent = nullptr);

    bool isComplete() const override;
    void setComplete(bool complete);

private:
    bool complete = true;
};
