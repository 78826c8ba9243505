#pragma once
// Qt's own texts in Simplified Chinese, the language of the whole program: the file dialogs'
// buttons and labels, the text boxes' right-click menus, the web engine's messages. Qt's
// translations come from the system (Debian's qt6-translations-l10n); without them Qt speaks
// English and nothing else changes.

class QCoreApplication;

class QtChinese {
  public:
    // Installs the translations into app, which owns them from then on; returns whether Qt's own
    // could be loaded.
    static bool install(QCoreApplication& app);
};
