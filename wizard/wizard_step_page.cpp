#include "wizard_step_page.h"

WizardStepPage::WizardStepPage(QWidget* parent) : QWizardPage(parent)
{
}

bool WizardStepPage::isComplete() const
{
    return complete;
}

void WizardStepPage::setComplete(bool isNowComplete)
{
    if (complete == isNowComplete) {
        return;
    }
    complete = isNowComplete;
    emit completeChanged();
}
