<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>FeedbackView</name>
    <message>
        <source>The file “%1” could not be read: %2</source>
        <translation>Die Datei „%1“ konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>not a local file</source>
        <translation>keine lokale Datei</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>the file is larger than %1 MiB</source>
        <translation>die Datei ist größer als %1 MiB</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>Submit</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Connection unsuccessful</source>
        <translation>Verbindung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Images, videos, text and PDF documents</source>
        <translation>Bilder, Videos, Text- und PDF-Dokumente</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>%1 could not reach the feedback service. Check that this computer is connected to the internet, then try again.</source>
        <translation>%1 konnte den Feedback-Dienst nicht erreichen. Prüfen Sie, ob dieser Computer mit dem Internet verbunden ist, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>The feedback service could not be reached securely, so nothing was sent. Try again later.</source>
        <translation>Der Feedback-Dienst war nicht sicher erreichbar, daher wurde nichts gesendet. Versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>Sent with your message: the version of this application, your system&apos;s version and your computer&apos;s model.</source>
        <translation>Mit Ihrer Nachricht gesendet: die Version dieser Anwendung, die Version Ihres Systems und das Modell Ihres Computers.</translation>
    </message>
    <message>
        <source>Sent with your message: the version of %1 (%2), your system (%3 %4) and your computer&apos;s model (%5).</source>
        <translation>Mit Ihrer Nachricht gesendet: die Version von %1 (%2), Ihr System (%3 %4) und das Modell Ihres Computers (%5).</translation>
    </message>
</context>
<context>
    <name>GlobalKeys</name>
    <message>
        <source>space_key</source>
        <translation>Leertaste</translation>
    </message>
    <message>
        <source>super_key</source>
        <translation>Super</translation>
    </message>
    <message>
        <source>record_shortcut</source>
        <translation>Tastenkürzel aufnehmen</translation>
    </message>
    <message>
        <source>press_shortcut</source>
        <translation>Tastenkürzel drücken … Esc bricht ab, Rücktaste löscht</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_menu_item</source>
        <translation>Der Menüeintrag „%1“ hat bereits dieses Tastenkürzel.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_system</source>
        <translation>Die Arbeitsumgebung reserviert dieses Tastenkürzel bereits.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_other_application</source>
        <translation>Eine andere Anwendung verwendet dieses Tastenkürzel bereits.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_applications</source>
        <translation>Anwendungen verwenden %1 für einen ihrer eigenen Befehle, etwa Schließen, Kopieren oder Suchen.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_taken_from_applications</source>
        <translation>Wird es für die ganze Arbeitsumgebung vergeben, erreicht es diese Anwendungen nicht mehr.</translation>
    </message>
    <message>
        <source>keyboard_shortcuts_can_be_changed</source>
        <translation>Die Tastenkürzel der Arbeitsumgebung können Sie in deren Tastatureinstellungen ändern.</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>force_use_shortcut</source>
        <translation>Trotzdem verwenden</translation>
    </message>
    <message>
        <source>keyboard_shortcut_held_by_system</source>
        <translation>Die Arbeitsumgebung verwendet dieses Tastenkürzel bereits selbst, daher kann es hier nicht verwendet werden.</translation>
    </message>
</context>
<context>
    <name>GlobalKeys::RecorderField</name>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
</context>
<context>
    <name>MainBundle</name>
    <message>
        <source>Copyright © %1. License: %2.</source>
        <translation>Copyright © %1. Lizenz: %2.</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <source>Shift</source>
        <translation>Umschalt</translation>
    </message>
    <message>
        <source>Ctrl</source>
        <translation>Strg</translation>
    </message>
    <message>
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>Meta</source>
        <translation>Meta</translation>
    </message>
</context>
<context>
    <name>Tellwick_Toolbox::TWKStarRatingView</name>
    <message>
        <source>Rating</source>
        <translation>Bewertung</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Nicht gesetzt</translation>
    </message>
</context>
<context>
    <name>Tolvane</name>
    <message>
        <source>Accessibility Request: Title</source>
        <translation>Tolvane benötigt Zugriff auf die Bedienungshilfen</translation>
    </message>
    <message>
        <source>Accessibility Request: Content</source>
        <translation>Bitte erteilen Sie den Zugriff, damit der Wechsel des Standardbrowsers bestätigt werden kann.</translation>
    </message>
</context>
<context>
    <name>Tolvane::BrowserRowLabel</name>
    <message>
        <source> </source>
        <translation> </translation>
    </message>
    <message>
        <source>(%1)</source>
        <translation>(%1)</translation>
    </message>
</context>
<context>
    <name>Tolvane::DefaultBrowser</name>
    <message>
        <source>The browser is no longer installed.</source>
        <translation>Der Browser ist nicht mehr installiert.</translation>
    </message>
    <message>
        <source>The desktop&apos;s list of default applications could not be written.</source>
        <translation>Die Liste der Standardanwendungen der Arbeitsumgebung konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The desktop still reports another default browser.</source>
        <translation>Die Arbeitsumgebung meldet weiterhin einen anderen Standardbrowser.</translation>
    </message>
    <message>
        <source>The desktop refused the change.</source>
        <translation>Die Arbeitsumgebung hat die Änderung abgelehnt.</translation>
    </message>
</context>
<context>
    <name>Tolvane::FeedbackView</name>
    <message>
        <source>Send Feedback</source>
        <translation>Rückmeldung senden</translation>
    </message>
    <message>
        <source>Attachment:</source>
        <translation>Anhang:</translation>
    </message>
    <message>
        <source>Choose File</source>
        <translation>Datei auswählen</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
</context>
<context>
    <name>Tolvane::FeedbackWindow</name>
    <message>
        <source>Send Feedback</source>
        <translation>Rückmeldung senden</translation>
    </message>
    <message>
        <source>Discard your feedback?</source>
        <translation>Rückmeldung verwerfen?</translation>
    </message>
    <message>
        <source>What you typed will be lost.</source>
        <translation>Ihre Eingabe geht verloren.</translation>
    </message>
    <message>
        <source>Keep Editing</source>
        <translation>Weiter bearbeiten</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
</context>
<context>
    <name>Tolvane::FirstStartNotice</name>
    <message>
        <source>%1 is in the panel&apos;s tray</source>
        <translation>%1 befindet sich im Benachrichtigungsbereich der Leiste</translation>
    </message>
    <message>
        <source>Click its icon to choose the default browser, or to open its settings.</source>
        <translation>Klicken Sie auf sein Symbol, um den Standardbrowser zu wählen oder die Einstellungen zu öffnen.</translation>
    </message>
</context>
<context>
    <name>Tolvane::HotKeyStatusLabel</name>
    <message>
        <source>Global shortcuts are not available on this desktop.</source>
        <translation>Globale Tastenkürzel sind auf dieser Arbeitsumgebung nicht verfügbar.</translation>
    </message>
    <message>
        <source>The desktop assigned %1 to this shortcut.</source>
        <translation>Die Arbeitsumgebung hat diesem Tastenkürzel %1 zugewiesen.</translation>
    </message>
    <message>
        <source>The desktop did not take this shortcut. Choose another key to try again.</source>
        <translation>Die Arbeitsumgebung hat dieses Tastenkürzel nicht übernommen. Wählen Sie eine andere Taste, um es erneut zu versuchen.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkAsker</name>
    <message>
        <source>%1 could not be started. Pick another browser.</source>
        <translation>%1 konnte nicht gestartet werden. Wählen Sie einen anderen Browser.</translation>
    </message>
    <message>
        <source>Open Link</source>
        <translation>Link öffnen</translation>
    </message>
    <message>
        <source>The link opened in %1, but the rule could not be saved.</source>
        <translation>Der Link wurde in %1 geöffnet, aber die Regel konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkPicker</name>
    <message>
        <source>Open Link</source>
        <translation>Link öffnen</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message numerus="yes">
        <source>and %n more link(s)</source>
        <translation>
            <numerusform>und %n weiterer Link</numerusform>
            <numerusform>und %n weitere Links</numerusform>
        </translation>
    </message>
    <message>
        <source>Browsers</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>%1   %2 (default)</source>
        <translation>%1   %2 (Standard)</translation>
    </message>
    <message>
        <source>Always open %1 here</source>
        <translation>%1 immer hier öffnen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message numerus="yes">
        <source>%n more link(s) waiting</source>
        <translation>
            <numerusform>%n weiterer Link wartet</numerusform>
            <numerusform>%n weitere Links warten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkRules</name>
    <message>
        <source>The site is not a valid host name or address.</source>
        <translation>Die Website ist kein gültiger Hostname und keine gültige Adresse.</translation>
    </message>
    <message>
        <source>The site has an empty label: two dots in a row, or a dot at the start.</source>
        <translation>Die Website hat einen leeren Namensteil: zwei Punkte hintereinander oder ein Punkt am Anfang.</translation>
    </message>
    <message>
        <source>A “*” cannot share a part of the site with letters outside a–z.</source>
        <translation>Ein „*“ darf in einem Teil der Website nicht neben Buchstaben außerhalb von a–z stehen.</translation>
    </message>
    <message>
        <source>The “[” before an IPv6 address has no “]”.</source>
        <translation>Auf das „[“ vor einer IPv6-Adresse folgt kein „]“.</translation>
    </message>
    <message>
        <source>Only a port may follow an IPv6 address, like [::1]:8080.</source>
        <translation>Auf eine IPv6-Adresse darf nur ein Port folgen, etwa [::1]:8080.</translation>
    </message>
    <message>
        <source>Write an IPv6 address in brackets, like [::1].</source>
        <translation>Schreiben Sie eine IPv6-Adresse in eckige Klammern, etwa [::1].</translation>
    </message>
    <message>
        <source>The pattern is empty.</source>
        <translation>Das Muster ist leer.</translation>
    </message>
    <message>
        <source>A pattern cannot contain spaces.</source>
        <translation>Ein Muster darf keine Leerzeichen enthalten.</translation>
    </message>
    <message>
        <source>Links are matched without what follows “?” or “#”; leave that out.</source>
        <translation>Links werden ohne den Teil nach „?“ oder „#“ verglichen; lassen Sie ihn weg.</translation>
    </message>
    <message>
        <source>Leave out the scheme (“https://”): a pattern starts with the site.</source>
        <translation>Lassen Sie das Schema („https://“) weg: Ein Muster beginnt mit der Website.</translation>
    </message>
    <message>
        <source>The pattern names no site before “/” (“*/” stands for any site).</source>
        <translation>Das Muster nennt vor „/“ keine Website („*/“ steht für jede Website).</translation>
    </message>
    <message>
        <source>A pattern names a site, not a user name before “@”.</source>
        <translation>Ein Muster nennt eine Website, keinen Benutzernamen vor „@“.</translation>
    </message>
    <message>
        <source>The port must be a number from 1 to 65535.</source>
        <translation>Der Port muss eine Zahl von 1 bis 65535 sein.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkRulesFile</name>
    <message>
        <source>Could not read “%1”: %2</source>
        <translation>„%1“ konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Could not read “%1”: it is not a regular file of at most 1 MiB</source>
        <translation>„%1“ konnte nicht gelesen werden: es ist keine gewöhnliche Datei von höchstens 1 MiB</translation>
    </message>
    <message>
        <source>a rule is a pattern and a browser</source>
        <translation>eine Regel besteht aus einem Muster und einem Browser</translation>
    </message>
    <message>
        <source>“%1”, line %2: %3</source>
        <translation>„%1“, Zeile %2: %3</translation>
    </message>
    <message>
        <source>Could not write “%1”: %2</source>
        <translation>„%1“ konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkTargets</name>
    <message>
        <source>Ask each time</source>
        <translation>Jedes Mal fragen</translation>
    </message>
    <message>
        <source>%1 (not installed)</source>
        <translation>%1 (nicht installiert)</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinksAdaptor</name>
    <message>
        <source>No link was given.</source>
        <translation>Es wurde kein Link angegeben.</translation>
    </message>
    <message>
        <source>Tolvane runs without a display here and cannot ask which browser to use.</source>
        <translation>Tolvane läuft hier ohne Anzeige und kann nicht fragen, welcher Browser verwendet werden soll.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinksTab</name>
    <message>
        <source>Open links by rules</source>
        <translation>Links nach Regeln öffnen</translation>
    </message>
    <message>
        <source>%1 opens each web link in the browser of the first rule below that matches it, and every other link in the default browser.</source>
        <translation>%1 öffnet jeden Weblink im Browser der ersten passenden Regel unten und alle übrigen Links im Standardbrowser.</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Muster</translation>
    </message>
    <message>
        <source>Opens in</source>
        <translation>Öffnen in</translation>
    </message>
    <message>
        <source>Link rules</source>
        <translation>Linkregeln</translation>
    </message>
    <message>
        <source>&amp;Add…</source>
        <translation>&amp;Hinzufügen …</translation>
    </message>
    <message>
        <source>Add a rule</source>
        <translation>Regel hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit…</source>
        <translation>&amp;Bearbeiten …</translation>
    </message>
    <message>
        <source>Edit the rule</source>
        <translation>Regel bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move the rule up</source>
        <translation>Regel nach oben verschieben</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>Move the rule down</source>
        <translation>Regel nach unten verschieben</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Remove the rule</source>
        <translation>Regel entfernen</translation>
    </message>
    <message>
        <source>The first rule that matches a link decides. A site such as example.com also covers its subdomains.</source>
        <translation>Die erste Regel, die auf einen Link passt, entscheidet. Eine Website wie example.com umfasst auch ihre Subdomains.</translation>
    </message>
    <message>
        <source>https://example.com/page</source>
        <translation>https://example.com/page</translation>
    </message>
    <message>
        <source>Link to try</source>
        <translation>Zu testender Link</translation>
    </message>
    <message>
        <source>&amp;Try a link</source>
        <translation>Link &amp;testen</translation>
    </message>
    <message>
        <source>Another program opens web links now.</source>
        <translation>Ein anderes Programm öffnet jetzt Weblinks.</translation>
    </message>
    <message>
        <source>Links could not be handed to the rules.</source>
        <translation>Links konnten nicht an die Regeln übergeben werden.</translation>
    </message>
    <message>
        <source>Links could not be handed back to the default browser.</source>
        <translation>Links konnten nicht an den Standardbrowser zurückgegeben werden.</translation>
    </message>
    <message>
        <source>The rules file was changed elsewhere; the list now shows it. Nothing was changed.</source>
        <translation>Die Regeldatei wurde anderswo geändert; die Liste zeigt jetzt ihren Stand. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Not a web link</source>
        <translation>Kein Weblink</translation>
    </message>
    <message>
        <source>Asks which browser (rule %1)</source>
        <translation>Fragt nach dem Browser (Regel %1)</translation>
    </message>
    <message>
        <source>Opens in %1 (rule %2)</source>
        <translation>Wird in %1 geöffnet (Regel %2)</translation>
    </message>
    <message>
        <source>No rule matches, and no default browser is set</source>
        <translation>Keine Regel passt, und es ist kein Standardbrowser festgelegt</translation>
    </message>
    <message>
        <source>Opens in %1 (rule %2 names a browser that is not installed; the default browser)</source>
        <translation>Wird in %1 geöffnet (Regel %2 nennt einen nicht installierten Browser; der Standardbrowser)</translation>
    </message>
    <message>
        <source>Opens in %1 (no rule; the default browser)</source>
        <translation>Wird in %1 geöffnet (keine Regel; der Standardbrowser)</translation>
    </message>
    <message>
        <source>Link rules are off, and no default browser is set</source>
        <translation>Linkregeln sind aus, und kein Standardbrowser ist festgelegt</translation>
    </message>
    <message>
        <source>Opens in %1: another program took web links from the rules</source>
        <translation>Wird in %1 geöffnet: Ein anderes Programm hat den Regeln die Weblinks abgenommen</translation>
    </message>
    <message>
        <source>Opens in %1: link rules are off</source>
        <translation>Wird in %1 geöffnet: Linkregeln sind aus</translation>
    </message>
    <message>
        <source>Opens in %1: link rules are off (rule %2 would ask which browser)</source>
        <translation>Wird in %1 geöffnet: Linkregeln sind aus (Regel %2 würde nach dem Browser fragen)</translation>
    </message>
    <message>
        <source>Opens in %1: link rules are off (rule %2 would open it in %3)</source>
        <translation>Wird in %1 geöffnet: Linkregeln sind aus (Regel %2 würde ihn in %3 öffnen)</translation>
    </message>
</context>
<context>
    <name>Tolvane::MenuBarContent</name>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Send Feedback</source>
        <translation>Rückmeldung senden</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Change default browser to</source>
        <translation>Standardbrowser wechseln zu</translation>
    </message>
    <message>
        <source>Refresh list</source>
        <translation>Liste aktualisieren</translation>
    </message>
</context>
<context>
    <name>Tolvane::NoTrayWindow</name>
    <message>
        <source>This desktop shows no tray icons, so Tolvane shows its menu here. On GNOME, the AppIndicator extension adds tray icons.</source>
        <translation>Diese Arbeitsumgebung zeigt keine Symbole im Systembereich, daher zeigt Tolvane sein Menü hier. Unter GNOME fügt die Erweiterung AppIndicator solche Symbole hinzu.</translation>
    </message>
</context>
<context>
    <name>Tolvane::RoutingWatch</name>
    <message>
        <source>Another program now opens web links</source>
        <translation>Ein anderes Programm öffnet jetzt Weblinks</translation>
    </message>
    <message>
        <source>Link rules are off until you turn them on again.</source>
        <translation>Die Linkregeln bleiben aus, bis Sie sie wieder einschalten.</translation>
    </message>
    <message>
        <source>Turn On</source>
        <translation>Einschalten</translation>
    </message>
    <message>
        <source>Could not turn link rules on</source>
        <translation>Linkregeln konnten nicht eingeschaltet werden</translation>
    </message>
</context>
<context>
    <name>Tolvane::RuleDialog</name>
    <message>
        <source>Add Rule</source>
        <translation>Regel hinzufügen</translation>
    </message>
    <message>
        <source>Edit Rule</source>
        <translation>Regel bearbeiten</translation>
    </message>
    <message>
        <source>example.com or example.com/docs/*</source>
        <translation>example.com oder example.com/docs/*</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Muster</translation>
    </message>
    <message>
        <source>A site also covers its subdomains; a pattern with / or * is matched against the host and path of the link.</source>
        <translation>Eine Website umfasst auch ihre Subdomains; ein Muster mit / oder * wird mit Host und Pfad des Links verglichen.</translation>
    </message>
    <message>
        <source>Open in</source>
        <translation>Öffnen in</translation>
    </message>
    <message>
        <source>&amp;Pattern</source>
        <translation>&amp;Muster</translation>
    </message>
    <message>
        <source>Open &amp;in</source>
        <translation>Ö&amp;ffnen in</translation>
    </message>
</context>
<context>
    <name>Tolvane::SettingsView</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Show browser version</source>
        <translation>Browserversion anzeigen</translation>
    </message>
    <message>
        <source>If you have multiple versions of the same browser installed on the system, the version may be useful to distinguish between them.</source>
        <translation>Wenn mehrere Versionen desselben Browsers installiert sind, hilft die Version, sie zu unterscheiden.</translation>
    </message>
    <message>
        <source>Auto-confirm browser change</source>
        <translation>Browserwechsel automatisch bestätigen</translation>
    </message>
    <message>
        <source>When enabled, %1 attempts to automatically confirm the system prompt for the browser change. Please note that this is not always possible.</source>
        <translation>Wenn eingeschaltet, versucht %1, die Rückfrage des Systems zum Browserwechsel automatisch zu bestätigen. Diese Arbeitsumgebung stellt keine solche Rückfrage, daher wirkt die Option hier nicht.</translation>
    </message>
    <message>
        <source>⚠️ This option requires %1 to be granted permission to control your computer. You can do so in System Settings &gt; Privacy &amp; Security &gt; Accessibility.</source>
        <translation>ℹ️ In dieser Arbeitsumgebung braucht %1 für diese Option keine Berechtigung, den Computer zu steuern.</translation>
    </message>
    <message>
        <source>Change browser</source>
        <translation>Browser wechseln</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>New Browser</source>
        <translation>Neuer Browser</translation>
    </message>
    <message>
        <source>💡 For even more flexibility, use %1 in the</source>
        <translation>💡 Für noch mehr Flexibilität steuern Sie %1 aus eigenen Skripten: siehe die</translation>
    </message>
    <message>
        <source> [Shortcuts app](shortcuts://) </source>
        <translation> [Automatisierungsanleitung](shortcuts://) </translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Beim Anmelden starten</translation>
    </message>
    <message>
        <source>Links</source>
        <translation>Links</translation>
    </message>
</context>
<context>
    <name>Tolvane::SettingsWindow</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>Tolvane::SwitchFailureNotice</name>
    <message>
        <source>Could not make %1 the default browser</source>
        <translation>%1 konnte nicht als Standardbrowser festgelegt werden</translation>
    </message>
    <message>
        <source>It is no longer installed. Choose another browser for the shortcut in the settings.</source>
        <translation>Er ist nicht mehr installiert. Wählen Sie in den Einstellungen einen anderen Browser für das Tastenkürzel.</translation>
    </message>
    <message>
        <source>the chosen browser</source>
        <translation>der gewählte Browser</translation>
    </message>
</context>
<context>
    <name>Tolvane::TolvaShortcutReactor</name>
    <message>
        <source>Switch the default browser</source>
        <translation>Standardbrowser wechseln</translation>
    </message>
</context>
<context>
    <name>Tolvane::TrayToolTip</name>
    <message>
        <source>Default browser: %1</source>
        <translation>Standardbrowser: %1</translation>
    </message>
</context>
<context>
    <name>Tolvane::cli</name>
    <message>
        <source>List the installed browsers, one per line: desktop file ID, name and version, separated by tabs.</source>
        <translation>Listet die installierten Browser auf, einer je Zeile: Desktop-Datei-ID, Name und Version, durch Tabulatoren getrennt.</translation>
    </message>
    <message>
        <source>With --list: print one JSON array of objects with id, desktopId, name, version and isDefault.</source>
        <translation>Mit --list: ein JSON-Array von Objekten mit id, desktopId, name, version und isDefault ausgeben.</translation>
    </message>
    <message>
        <source>Print the desktop file ID of the default browser for https links.</source>
        <translation>Gibt die Desktop-Datei-ID des Standardbrowsers für https-Links aus.</translation>
    </message>
    <message>
        <source>Make BROWSER the default browser. BROWSER is an automation id, a desktop file ID (with or without .desktop) or the name of one listed browser.</source>
        <translation>Legt BROWSER als Standardbrowser fest. BROWSER ist eine Automatisierungs-ID, eine Desktop-Datei-ID (mit oder ohne .desktop) oder der Name eines aufgelisteten Browsers.</translation>
    </message>
    <message>
        <source>Tolvane lists the installed web browsers and makes one of them the default.
Without options it starts in the tray. The options below do their work
and exit; they need no display and no running Tolvane.
Exit status: 0 done, 1 failed (reason on standard error), 2 usage error
or a BROWSER that names no browser or several.</source>
        <translation>Tolvane listet die installierten Webbrowser auf und legt einen davon als Standard fest.
Ohne Optionen startet es im Benachrichtigungsfeld. Die folgenden Optionen erledigen ihre
Aufgabe und beenden sich; sie brauchen weder eine Anzeige noch ein laufendes Tolvane.
Rückgabewert: 0 erledigt, 1 fehlgeschlagen (Grund auf der Standardfehlerausgabe), 2 Aufruffehler
oder ein BROWSER, der keinen oder mehrere Browser bezeichnet.</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>„%1 --help“ liefert weitere Informationen.</translation>
    </message>
    <message>
        <source>unexpected argument “%1”</source>
        <translation>unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>--json goes with --list</source>
        <translation>--json gehört zu --list</translation>
    </message>
    <message>
        <source>--set needs a browser</source>
        <translation>--set braucht einen Browser</translation>
    </message>
    <message>
        <source>No default browser is set for https links.</source>
        <translation>Für https-Links ist kein Standardbrowser festgelegt.</translation>
    </message>
    <message>
        <source>No installed browser is called “%1”. Installed browsers:</source>
        <translation>Kein installierter Browser heißt „%1“. Installierte Browser:</translation>
    </message>
    <message>
        <source>“%1” names several browsers; use one of their desktop file IDs:</source>
        <translation>„%1“ bezeichnet mehrere Browser; verwenden Sie eine ihrer Desktop-Datei-IDs:</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A failure and its reason; French puts a space before the colon.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Could not make %1 the default browser: the settings file %2 cannot be read.</source>
        <translation>%1 konnte nicht zum Standardbrowser gemacht werden: Die Einstellungsdatei %2 ist nicht lesbar.</translation>
    </message>
    <message>
        <source>Links by rules: &apos;on&apos; makes Tolvane open each web link in the browser its first matching rule names (the default browser for the rest), &apos;off&apos; gives links back to the default browser; &apos;status&apos;, &apos;list&apos; (number, pattern, browser), &apos;add PATTERN BROWSER&apos; (BROWSER as --set takes it, or &apos;ask&apos;), &apos;remove N&apos;, &apos;test URL&apos; (the desktop file ID it goes to and the rule&apos;s number, or &apos;default&apos;).</source>
        <translation>Links nach Regeln: „on“ lässt Tolvane jeden Weblink in dem Browser öffnen, den seine erste passende Regel nennt (alle übrigen im Standardbrowser), „off“ gibt die Links an den Standardbrowser zurück; „status“, „list“ (Nummer, Muster, Browser), „add PATTERN BROWSER“ (BROWSER wie bei --set oder „ask“), „remove N“, „test URL“ (die Desktop-Datei-ID, an die der Link geht, und die Nummer der Regel oder „default“).</translation>
    </message>
    <message>
        <source>Open the URLs that follow as the link rules say.</source>
        <translation>Öffnet die folgenden URLs so, wie es die Linkregeln vorgeben.</translation>
    </message>
    <message>
        <source>With --open: the links to open.</source>
        <translation>Mit --open: die zu öffnenden Links.</translation>
    </message>
    <message>
        <source>--list, --get, --set, --route and --open go one at a time</source>
        <translation>--list, --get, --set, --route und --open lassen sich nur einzeln verwenden</translation>
    </message>
    <message>
        <source>Links go to the default browser</source>
        <translation>Links gehen an den Standardbrowser</translation>
    </message>
    <message>
        <source>“%1” is not a web link</source>
        <translation>„%1“ ist kein Weblink</translation>
    </message>
    <message>
        <source>The browser “%1” of a link rule cannot open links: %2</source>
        <translation>Der Browser „%1“ einer Linkregel kann keine Links öffnen: %2</translation>
    </message>
    <message>
        <source>Could not open the link: %1</source>
        <translation>Der Link konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>Could not turn link rules %1: %2</source>
        <translation>Linkregeln konnten nicht auf %1 geschaltet werden: %2</translation>
    </message>
    <message>
        <source>--route takes on, off, status, list, add PATTERN BROWSER, remove N or test URL</source>
        <translation>--route erwartet on, off, status, list, add PATTERN BROWSER, remove N oder test URL</translation>
    </message>
    <message>
        <source>“%1”: %2</source>
        <translation>„%1“: %2</translation>
    </message>
    <message>
        <source>There is no rule %1.</source>
        <translation>Es gibt keine Regel %1.</translation>
    </message>
</context>
<context>
    <name>Tolvane::links</name>
    <message>
        <source>Tolvane link rules</source>
        <translation>Tolvane-Linkregeln</translation>
    </message>
    <message>
        <source>No browser is chosen for the links no rule names.</source>
        <translation>Für Links, die keine Regel nennt, ist kein Browser gewählt.</translation>
    </message>
</context>
</TS>
