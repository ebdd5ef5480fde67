#include "wizard_test_support.h"

#include "projbridge.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

WorkingFolder::WorkingFolder() : previousWorkingDirectory(QDir::currentPath())
{
    QDir::setCurrent(folder.path());
}

WorkingFolder::~WorkingFolder()
{
    QDir::setCurrent(previousWorkingDirectory);
}

QString WorkingFolder::path(const QString& name) const
{
    return QDir::toNativeSeparators(name.isEmpty() ? folder.path() : folder.filePath(name));
}

QString WorkingFolder::writeFile(const QString& name, const QByteArray& content) const
{
    const QString filePath = path(name);
    QDir().mkpath(QFileInfo(filePath).path());
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        qFatal("cannot write %s", qPrintable(filePath));
    }
    return filePath;
}

QString WorkingFolder::makeFolder(const QString& name) const
{
    const QString folderPath = path(name);
    if (!QDir().mkpath(folderPath)) {
        qFatal("cannot create %s", qPrintable(folderPath));
    }
    return folderPath;
}

QByteArray WorkingFolder::readFile(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SearchPath::SearchPath(const QStringList& folders) : previous(qgetenv("PATH"))
{
    qputenv("PATH", folders.join(QDir::listSeparator()).toLocal8Bit());
}

SearchPath::~SearchPath()
{
    qputenv("PATH", previous);
}

QString writeStandInConverter(const QString& folder, const QString& scriptBody)
{
    const QString scriptPath = QDir(folder).filePath(QStringLiteral("ProjbridgeCli"));
    QFile script(scriptPath);
    // The script finds its tools itself, so that the wizard's search path can hold the stand-in alone.
    const QByteArray content = "#!/bin/sh\nPATH=/usr/bin:/bin\n" + scriptBody.toLocal8Bit() + '\n';
    if (!script.open(QIODevice::WriteOnly) || script.write(content) != content.size()) {
        qFatal("cannot write %s", qPrintable(scriptPath));
    }
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return scriptPath;
}

AnsweredMessages::AnsweredMessages(Projbridge& wizard, QMessageBox::StandardButton answer) : answer(answer)
{
    wizard.setMessageDialog([this](QWidget*, const MessageRequest& request) {
        shown << request;
        return this->answer;
    });
}

void fillFirstPage(Projbridge& wizard, const WorkingFolder& folder)
{
    wizard.VDSPProjectEdit->setText(folder.writeFile(QStringLiteral("source/app.dpj")));
    wizard.VDSPInstallDirEdit->setText(folder.makeFolder(QStringLiteral("VisualDSP")));
    wizard.TavricProjectEdit->setText(folder.makeFolder(QStringLiteral("destination")));
    wizard.TavricNameEdit->setText(QStringLiteral("app"));
}

bool press(Projbridge& wizard, QWizard::WizardButton which)
{
    QAbstractButton* button = wizard.button(which);
    if (!button->isVisible() || !button->isEnabled()) {
        return false;
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

void showWizard(Projbridge& wizard)
{
    wizard.show();
    if (!QTest::qWaitForWindowExposed(&wizard)) {
        qFatal("the wizard was never shown");
    }
}
