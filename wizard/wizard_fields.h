#pragma once

#include <QCoreApplication>
#include <QString>

// What the user entered on the wizard's pages, each text as typed; the rules of the pages, the converter's
// command line and the summary are functions of it, so they can be tried without widgets.
struct WizardFields {
    QString projectFile;
    QString installFolder;
    QString destination;
    QString name;
    QString messagePersonality;
    QString analyserPersonality;
    QString compilerPersonality;
    // As built when the user left the extensions page.
    QString extensionList;
    bool report = true;
    bool compilationDatabases = false;
};

// The wizard's own texts, in the controller's translation context.
inline QString wizardText(const char* text)
{
    return QCoreApplication::translate("Projbridge", text);
}
