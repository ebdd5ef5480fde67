# The installer, by CPack's NSIS generator: a per-user installation that needs no
# administrator rights. CPack's script installs for all users whenever the user
# is an administrator (as every user under Wine is) and otherwise into the
# documents folder; the code below puts everything back in the user's own
# places: programs, Start menu, uninstall entry and PATH.
set(CPACK_PACKAGE_NAME Projbridge)
# Without the version, so that a newer release installs over an older one.
set(CPACK_PACKAGE_INSTALL_DIRECTORY Projbridge)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Projbridge)
set(CPACK_NSIS_PACKAGE_NAME Projbridge)
set(CPACK_NSIS_DISPLAY_NAME Projbridge)
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\Programs")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\Projbridge.exe")
set(CPACK_NSIS_MODIFY_PATH ON)
set(CPACK_RESOURCE_FILE_LICENSE ${generated}/LICENSE.txt)

# The wizard keeps settings.txt in its working folder, which must outlive the
# program's own folder; the uninstaller leaves it.
set(PROJBRIDGE_SETTINGS_FOLDER "$LOCALAPPDATA\\Projbridge")
set(PROJBRIDGE_UNINSTALL_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}")

# The programs are 64-bit only, and so is Wine where the installer is tested.
# An interactive installation chooses its folder in the page after .onInit,
# which CPack's script owns: the GUI's start corrects it; a silent one, which
# has no GUI, corrects it before the first file. Only an administrator may
# change the PATH of all users.
string(CONFIGURE [=[
  Target amd64-unicode
  RequestExecutionLevel user
  !define MUI_CUSTOMFUNCTION_GUIINIT ProjbridgeGuiInit

Function ProjbridgePerUser
  SetShellVarContext current
  StrCmp $IS_DEFAULT_INSTALLDIR "1" 0 +2
    StrCpy $INSTDIR "@CPACK_NSIS_INSTALL_ROOT@\@CPACK_PACKAGE_INSTALL_DIRECTORY@"
FunctionEnd

Function ProjbridgeGuiInit
  Call ProjbridgePerUser
  !insertmacro MUI_INSTALLOPTIONS_WRITE "NSIS.InstallOptions.ini" "Field 3" "Flags" "DISABLED"
FunctionEnd
]=] CPACK_NSIS_DEFINES @ONLY)

# CPack's script has made the folder it chose by then: an administrator's
# %LOCALAPPDATA% is the one of all users.
string(CONFIGURE [=[
  IfSilent 0 projbridge_per_user
    StrCmp $IS_DEFAULT_INSTALLDIR "1" 0 +3
      RMDir "$INSTDIR"
      RMDir "@CPACK_NSIS_INSTALL_ROOT@"
    Call ProjbridgePerUser
    SetOutPath "$INSTDIR"
  projbridge_per_user:
  CreateDirectory "@PROJBRIDGE_SETTINGS_FOLDER@"
]=] CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS @ONLY)

# A shortcut starts its program in the folder that SetOutPath last named.
string(CONFIGURE [=[
  SetOutPath "@PROJBRIDGE_SETTINGS_FOLDER@"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Projbridge.lnk" "$INSTDIR\bin\Projbridge.exe"
  StrCmp "$INSTALL_DESKTOP" "1" 0 +2
    CreateShortCut "$DESKTOP\Projbridge.lnk" "$INSTDIR\bin\Projbridge.exe"
  SetOutPath "$INSTDIR"
]=] CPACK_NSIS_CREATE_ICONS_EXTRA @ONLY)
set(CPACK_NSIS_DELETE_ICONS_EXTRA [=[
  Delete "$SMPROGRAMS\$MUI_TEMP\Projbridge.lnk"
]=])

# CPack's uninstaller, too, works for all users when the user is an
# administrator, and has read its settings from there by now.
string(CONFIGURE [=[
  SetShellVarContext current
  ReadRegStr $START_MENU HKCU "@PROJBRIDGE_UNINSTALL_KEY@" "StartMenu"
  ReadRegStr $INSTALL_DESKTOP HKCU "@PROJBRIDGE_UNINSTALL_KEY@" "InstallToDesktop"
  StrCpy $ADD_TO_PATH_ALL_USERS "0"
  StrCmp "$INSTALL_DESKTOP" "1" 0 +2
    Delete "$DESKTOP\Projbridge.lnk"
]=] CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS @ONLY)
