#pragma once

/// Qt's own texts (standard buttons, the print, file and colour dialogs) in German, from
/// the catalogues Qt installs beside itself (Debian: qt6-translations-l10n).
class QtTranslations
{
public:
    /// Installs the German catalogues into the running application, once; later calls do
    /// nothing. False when Qt's base catalogue is missing: the dialogs then stay English.
    static bool install();
};
