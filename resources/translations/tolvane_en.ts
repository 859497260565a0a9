<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>FeedbackView</name>
    <message>
        <source>The file “%1” could not be read: %2</source>
        <translation>The file “%1” could not be read: %2</translation>
    </message>
    <message>
        <source>not a local file</source>
        <translation>not a local file</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>Submit</source>
        <translation>Submit</translation>
    </message>
    <message>
        <source>Connection unsuccessful</source>
        <translation>Connection unsuccessful</translation>
    </message>
    <message>
        <source>Images, videos, text and PDF documents</source>
        <translation>Images, videos, text and PDF documents</translation>
    </message>
    <message>
        <source>the file is larger than %1 MiB</source>
        <translation>the file is larger than %1 MiB</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>%1 could not reach the feedback service. Check that this computer is connected to the internet, then try again.</source>
        <translation>%1 could not reach the feedback service. Check that this computer is connected to the internet, then try again.</translation>
    </message>
    <message>
        <source>The feedback service could not be reached securely, so nothing was sent. Try again later.</source>
        <translation>The feedback service could not be reached securely, so nothing was sent. Try again later.</translation>
    </message>
    <message>
        <source>Sent with your message: the version of this application, your system&apos;s version and your computer&apos;s model.</source>
        <translation>Sent with your message: the version of this application, your system&apos;s version and your computer&apos;s model.</translation>
    </message>
    <message>
        <source>Sent with your message: the version of %1 (%2), your system (%3 %4) and your computer&apos;s model (%5).</source>
        <translation>Sent with your message: the version of %1 (%2), your system (%3 %4) and your computer&apos;s model (%5).</translation>
    </message>
</context>
<context>
    <name>GlobalKeys</name>
    <message>
        <source>space_key</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>super_key</source>
        <translation>Super</translation>
    </message>
    <message>
        <source>record_shortcut</source>
        <translation>Record Shortcut</translation>
    </message>
    <message>
        <source>press_shortcut</source>
        <translation>Press a shortcut… Esc cancels, Backspace clears</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_menu_item</source>
        <translation>The menu item “%1” already has this shortcut.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_system</source>
        <translation>The desktop already reserves this shortcut.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_other_application</source>
        <translation>Another application already uses this shortcut.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_applications</source>
        <translation>Applications use %1 for one of their own commands, such as Close, Copy or Find.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_taken_from_applications</source>
        <translation>Used for the whole desktop, it no longer reaches them.</translation>
    </message>
    <message>
        <source>keyboard_shortcuts_can_be_changed</source>
        <translation>You can change the desktop&apos;s own shortcuts in its keyboard settings.</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>force_use_shortcut</source>
        <translation>Use It Anyway</translation>
    </message>
    <message>
        <source>keyboard_shortcut_held_by_system</source>
        <translation>The desktop already uses this shortcut and keeps it for itself, so it cannot be used here.</translation>
    </message>
</context>
<context>
    <name>GlobalKeys::RecorderField</name>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>MainBundle</name>
    <message>
        <source>Copyright © %1. License: %2.</source>
        <translation>Copyright © %1. License: %2.</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Ctrl</source>
        <translation>Ctrl</translation>
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
        <translation>Rating</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Not set</translation>
    </message>
</context>
<context>
    <name>Tolvane</name>
    <message>
        <source>Accessibility Request: Title</source>
        <translation>Tolvane Needs Accessibility Permissions</translation>
    </message>
    <message>
        <source>Accessibility Request: Content</source>
        <translation>Please grant access to be able to confirm the default browser change.</translation>
    </message>
</context>
<context>
    <name>Tolvane::BrowserRowLabel</name>
    <message>
        <source>(%1)</source>
        <translation>(%1)</translation>
    </message>
    <message>
        <source> </source>
        <translation> </translation>
    </message>
</context>
<context>
    <name>Tolvane::DefaultBrowser</name>
    <message>
        <source>The browser is no longer installed.</source>
        <translation>The browser is no longer installed.</translation>
    </message>
    <message>
        <source>The desktop&apos;s list of default applications could not be written.</source>
        <translation>The desktop&apos;s list of default applications could not be written.</translation>
    </message>
    <message>
        <source>The desktop still reports another default browser.</source>
        <translation>The desktop still reports another default browser.</translation>
    </message>
    <message>
        <source>The desktop refused the change.</source>
        <translation>The desktop refused the change.</translation>
    </message>
</context>
<context>
    <name>Tolvane::FeedbackView</name>
    <message>
        <source>Send Feedback</source>
        <translation>Send Feedback</translation>
    </message>
    <message>
        <source>Attachment:</source>
        <translation>Attachment:</translation>
    </message>
    <message>
        <source>Choose File</source>
        <translation>Choose File</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
</context>
<context>
    <name>Tolvane::FeedbackWindow</name>
    <message>
        <source>Send Feedback</source>
        <translation>Send Feedback</translation>
    </message>
    <message>
        <source>Discard your feedback?</source>
        <translation>Discard your feedback?</translation>
    </message>
    <message>
        <source>What you typed will be lost.</source>
        <translation>What you typed will be lost.</translation>
    </message>
    <message>
        <source>Keep Editing</source>
        <translation>Keep Editing</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Discard</translation>
    </message>
</context>
<context>
    <name>Tolvane::FirstStartNotice</name>
    <message>
        <source>%1 is in the panel&apos;s tray</source>
        <translation>%1 is in the panel&apos;s tray</translation>
    </message>
    <message>
        <source>Click its icon to choose the default browser, or to open its settings.</source>
        <translation>Click its icon to choose the default browser, or to open its settings.</translation>
    </message>
</context>
<context>
    <name>Tolvane::HotKeyStatusLabel</name>
    <message>
        <source>Global shortcuts are not available on this desktop.</source>
        <translation>Global shortcuts are not available on this desktop.</translation>
    </message>
    <message>
        <source>The desktop assigned %1 to this shortcut.</source>
        <translation>The desktop assigned %1 to this shortcut.</translation>
    </message>
    <message>
        <source>The desktop did not take this shortcut. Choose another key to try again.</source>
        <translation>The desktop did not take this shortcut. Choose another key to try again.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkAsker</name>
    <message>
        <source>%1 could not be started. Pick another browser.</source>
        <translation>%1 could not be started. Pick another browser.</translation>
    </message>
    <message>
        <source>Open Link</source>
        <translation>Open Link</translation>
    </message>
    <message>
        <source>The link opened in %1, but the rule could not be saved.</source>
        <translation>The link opened in %1, but the rule could not be saved.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkPicker</name>
    <message>
        <source>Open Link</source>
        <translation>Open Link</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message numerus="yes">
        <source>and %n more link(s)</source>
        <translation>
            <numerusform>and %n more link</numerusform>
            <numerusform>and %n more links</numerusform>
        </translation>
    </message>
    <message>
        <source>Browsers</source>
        <translation>Browsers</translation>
    </message>
    <message>
        <source>%1   %2 (default)</source>
        <translation>%1   %2 (default)</translation>
    </message>
    <message>
        <source>Always open %1 here</source>
        <translation>Always open %1 here</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message numerus="yes">
        <source>%n more link(s) waiting</source>
        <translation>
            <numerusform>%n more link waiting</numerusform>
            <numerusform>%n more links waiting</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkRules</name>
    <message>
        <source>The site is not a valid host name or address.</source>
        <translation>The site is not a valid host name or address.</translation>
    </message>
    <message>
        <source>The site has an empty label: two dots in a row, or a dot at the start.</source>
        <translation>The site has an empty label: two dots in a row, or a dot at the start.</translation>
    </message>
    <message>
        <source>A “*” cannot share a part of the site with letters outside a–z.</source>
        <translation>A “*” cannot share a part of the site with letters outside a–z.</translation>
    </message>
    <message>
        <source>The “[” before an IPv6 address has no “]”.</source>
        <translation>The “[” before an IPv6 address has no “]”.</translation>
    </message>
    <message>
        <source>Only a port may follow an IPv6 address, like [::1]:8080.</source>
        <translation>Only a port may follow an IPv6 address, like [::1]:8080.</translation>
    </message>
    <message>
        <source>Write an IPv6 address in brackets, like [::1].</source>
        <translation>Write an IPv6 address in brackets, like [::1].</translation>
    </message>
    <message>
        <source>The pattern is empty.</source>
        <translation>The pattern is empty.</translation>
    </message>
    <message>
        <source>A pattern cannot contain spaces.</source>
        <translation>A pattern cannot contain spaces.</translation>
    </message>
    <message>
        <source>Links are matched without what follows “?” or “#”; leave that out.</source>
        <translation>Links are matched without what follows “?” or “#”; leave that out.</translation>
    </message>
    <message>
        <source>Leave out the scheme (“https://”): a pattern starts with the site.</source>
        <translation>Leave out the scheme (“https://”): a pattern starts with the site.</translation>
    </message>
    <message>
        <source>The pattern names no site before “/” (“*/” stands for any site).</source>
        <translation>The pattern names no site before “/” (“*/” stands for any site).</translation>
    </message>
    <message>
        <source>A pattern names a site, not a user name before “@”.</source>
        <translation>A pattern names a site, not a user name before “@”.</translation>
    </message>
    <message>
        <source>The port must be a number from 1 to 65535.</source>
        <translation>The port must be a number from 1 to 65535.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkRulesFile</name>
    <message>
        <source>Could not read “%1”: %2</source>
        <translation>Could not read “%1”: %2</translation>
    </message>
    <message>
        <source>Could not read “%1”: it is not a regular file of at most 1 MiB</source>
        <translation>Could not read “%1”: it is not a regular file of at most 1 MiB</translation>
    </message>
    <message>
        <source>a rule is a pattern and a browser</source>
        <translation>a rule is a pattern and a browser</translation>
    </message>
    <message>
        <source>“%1”, line %2: %3</source>
        <translation>“%1”, line %2: %3</translation>
    </message>
    <message>
        <source>Could not write “%1”: %2</source>
        <translation>Could not write “%1”: %2</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkTargets</name>
    <message>
        <source>Ask each time</source>
        <translation>Ask each time</translation>
    </message>
    <message>
        <source>%1 (not installed)</source>
        <translation>%1 (not installed)</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinksAdaptor</name>
    <message>
        <source>No link was given.</source>
        <translation>No link was given.</translation>
    </message>
    <message>
        <source>Tolvane runs without a display here and cannot ask which browser to use.</source>
        <translation>Tolvane runs without a display here and cannot ask which browser to use.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinksTab</name>
    <message>
        <source>Open links by rules</source>
        <translation>Open links by rules</translation>
    </message>
    <message>
        <source>%1 opens each web link in the browser of the first rule below that matches it, and every other link in the default browser.</source>
        <translation>%1 opens each web link in the browser of the first rule below that matches it, and every other link in the default browser.</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Pattern</translation>
    </message>
    <message>
        <source>Opens in</source>
        <translation>Opens in</translation>
    </message>
    <message>
        <source>Link rules</source>
        <translation>Link rules</translation>
    </message>
    <message>
        <source>&amp;Add…</source>
        <translation>&amp;Add…</translation>
    </message>
    <message>
        <source>Add a rule</source>
        <translation>Add a rule</translation>
    </message>
    <message>
        <source>&amp;Edit…</source>
        <translation>&amp;Edit…</translation>
    </message>
    <message>
        <source>Edit the rule</source>
        <translation>Edit the rule</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Up</translation>
    </message>
    <message>
        <source>Move the rule up</source>
        <translation>Move the rule up</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>&amp;Down</translation>
    </message>
    <message>
        <source>Move the rule down</source>
        <translation>Move the rule down</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>Remove the rule</source>
        <translation>Remove the rule</translation>
    </message>
    <message>
        <source>The first rule that matches a link decides. A site such as example.com also covers its subdomains.</source>
        <translation>The first rule that matches a link decides. A site such as example.com also covers its subdomains.</translation>
    </message>
    <message>
        <source>https://example.com/page</source>
        <translation>https://example.com/page</translation>
    </message>
    <message>
        <source>Link to try</source>
        <translation>Link to try</translation>
    </message>
    <message>
        <source>&amp;Try a link</source>
        <translation>&amp;Try a link</translation>
    </message>
    <message>
        <source>Another program opens web links now.</source>
        <translation>Another program opens web links now.</translation>
    </message>
    <message>
        <source>Links could not be handed to the rules.</source>
        <translation>Links could not be handed to the rules.</translation>
    </message>
    <message>
        <source>Links could not be handed back to the default browser.</source>
        <translation>Links could not be handed back to the default browser.</translation>
    </message>
    <message>
        <source>The rules file was changed elsewhere; the list now shows it. Nothing was changed.</source>
        <translation>The rules file was changed elsewhere; the list now shows it. Nothing was changed.</translation>
    </message>
    <message>
        <source>Not a web link</source>
        <translation>Not a web link</translation>
    </message>
    <message>
        <source>Asks which browser (rule %1)</source>
        <translation>Asks which browser (rule %1)</translation>
    </message>
    <message>
        <source>Opens in %1 (rule %2)</source>
        <translation>Opens in %1 (rule %2)</translation>
    </message>
    <message>
        <source>No rule matches, and no default browser is set</source>
        <translation>No rule matches, and no default browser is set</translation>
    </message>
    <message>
        <source>Opens in %1 (rule %2 names a browser that is not installed; the default browser)</source>
        <translation>Opens in %1 (rule %2 names a browser that is not installed; the default browser)</translation>
    </message>
    <message>
        <source>Opens in %1 (no rule; the default browser)</source>
        <translation>Opens in %1 (no rule; the default browser)</translation>
    </message>
    <message>
        <source>Link rules are off, and no default browser is set</source>
        <translation>Link rules are off, and no default browser is set</translation>
    </message>
    <message>
        <source>Opens in %1: another program took web links from the rules</source>
        <translation>Opens in %1: another program took web links from the rules</translation>
    </message>
    <message>
        <source>Opens in %1: link rules are off</source>
        <translation>Opens in %1: link rules are off</translation>
    </message>
    <message>
        <source>Opens in %1: link rules are off (rule %2 would ask which browser)</source>
        <translation>Opens in %1: link rules are off (rule %2 would ask which browser)</translation>
    </message>
    <message>
        <source>Opens in %1: link rules are off (rule %2 would open it in %3)</source>
        <translation>Opens in %1: link rules are off (rule %2 would open it in %3)</translation>
    </message>
</context>
<context>
    <name>Tolvane::MenuBarContent</name>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>Send Feedback</source>
        <translation>Send Feedback</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Change default browser to</source>
        <translation>Change default browser to</translation>
    </message>
    <message>
        <source>Refresh list</source>
        <translation>Refresh list</translation>
    </message>
</context>
<context>
    <name>Tolvane::NoTrayWindow</name>
    <message>
        <source>This desktop shows no tray icons, so Tolvane shows its menu here. On GNOME, the AppIndicator extension adds tray icons.</source>
        <translation>This desktop shows no tray icons, so Tolvane shows its menu here. On GNOME, the AppIndicator extension adds tray icons.</translation>
    </message>
</context>
<context>
    <name>Tolvane::RoutingWatch</name>
    <message>
        <source>Another program now opens web links</source>
        <translation>Another program now opens web links</translation>
    </message>
    <message>
        <source>Link rules are off until you turn them on again.</source>
        <translation>Link rules are off until you turn them on again.</translation>
    </message>
    <message>
        <source>Turn On</source>
        <translation>Turn On</translation>
    </message>
    <message>
        <source>Could not turn link rules on</source>
        <translation>Could not turn link rules on</translation>
    </message>
</context>
<context>
    <name>Tolvane::RuleDialog</name>
    <message>
        <source>Add Rule</source>
        <translation>Add Rule</translation>
    </message>
    <message>
        <source>Edit Rule</source>
        <translation>Edit Rule</translation>
    </message>
    <message>
        <source>example.com or example.com/docs/*</source>
        <translation>example.com or example.com/docs/*</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Pattern</translation>
    </message>
    <message>
        <source>A site also covers its subdomains; a pattern with / or * is matched against the host and path of the link.</source>
        <translation>A site also covers its subdomains; a pattern with / or * is matched against the host and path of the link.</translation>
    </message>
    <message>
        <source>Open in</source>
        <translation>Open in</translation>
    </message>
    <message>
        <source>&amp;Pattern</source>
        <translation>&amp;Pattern</translation>
    </message>
    <message>
        <source>Open &amp;in</source>
        <translation>Open &amp;in</translation>
    </message>
</context>
<context>
    <name>Tolvane::SettingsView</name>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation>Shortcuts</translation>
    </message>
    <message>
        <source>Show browser version</source>
        <translation>Show browser version</translation>
    </message>
    <message>
        <source>If you have multiple versions of the same browser installed on the system, the version may be useful to distinguish between them.</source>
        <translation>If you have multiple versions of the same browser installed on the system, the version may be useful to distinguish between them.</translation>
    </message>
    <message>
        <source>Auto-confirm browser change</source>
        <translation>Auto-confirm browser change</translation>
    </message>
    <message>
        <source>When enabled, %1 attempts to automatically confirm the system prompt for the browser change. Please note that this is not always possible.</source>
        <translation>When enabled, %1 attempts to automatically confirm the system prompt for the browser change. This desktop shows no such prompt, so the option has no effect here.</translation>
    </message>
    <message>
        <source>⚠️ This option requires %1 to be granted permission to control your computer. You can do so in System Settings &gt; Privacy &amp; Security &gt; Accessibility.</source>
        <translation>ℹ️ On this desktop %1 needs no permission to control your computer for this option.</translation>
    </message>
    <message>
        <source>Change browser</source>
        <translation>Change browser</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>Shortcut</translation>
    </message>
    <message>
        <source>New Browser</source>
        <translation>New Browser</translation>
    </message>
    <message>
        <source>💡 For even more flexibility, use %1 in the</source>
        <translation>💡 For even more flexibility, drive %1 from your own scripts: see the</translation>
    </message>
    <message>
        <source> [Shortcuts app](shortcuts://) </source>
        <translation> [automation guide](shortcuts://) </translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Launch at login</translation>
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
        <translation>Close</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
</context>
<context>
    <name>Tolvane::SwitchFailureNotice</name>
    <message>
        <source>Could not make %1 the default browser</source>
        <translation>Could not make %1 the default browser</translation>
    </message>
    <message>
        <source>It is no longer installed. Choose another browser for the shortcut in the settings.</source>
        <translation>It is no longer installed. Choose another browser for the shortcut in the settings.</translation>
    </message>
    <message>
        <source>the chosen browser</source>
        <translation>the chosen browser</translation>
    </message>
</context>
<context>
    <name>Tolvane::TolvaShortcutReactor</name>
    <message>
        <source>Switch the default browser</source>
        <translation>Switch the default browser</translation>
    </message>
</context>
<context>
    <name>Tolvane::TrayToolTip</name>
    <message>
        <source>Default browser: %1</source>
        <translation>Default browser: %1</translation>
    </message>
</context>
<context>
    <name>Tolvane::cli</name>
    <message>
        <source>List the installed browsers, one per line: desktop file ID, name and version, separated by tabs.</source>
        <translation>List the installed browsers, one per line: desktop file ID, name and version, separated by tabs.</translation>
    </message>
    <message>
        <source>With --list: print one JSON array of objects with id, desktopId, name, version and isDefault.</source>
        <translation>With --list: print one JSON array of objects with id, desktopId, name, version and isDefault.</translation>
    </message>
    <message>
        <source>Print the desktop file ID of the default browser for https links.</source>
        <translation>Print the desktop file ID of the default browser for https links.</translation>
    </message>
    <message>
        <source>Make BROWSER the default browser. BROWSER is an automation id, a desktop file ID (with or without .desktop) or the name of one listed browser.</source>
        <translation>Make BROWSER the default browser. BROWSER is an automation id, a desktop file ID (with or without .desktop) or the name of one listed browser.</translation>
    </message>
    <message>
        <source>Tolvane lists the installed web browsers and makes one of them the default.
Without options it starts in the tray. The options below do their work
and exit; they need no display and no running Tolvane.
Exit status: 0 done, 1 failed (reason on standard error), 2 usage error
or a BROWSER that names no browser or several.</source>
        <translation>Tolvane lists the installed web browsers and makes one of them the default.
Without options it starts in the tray. The options below do their work
and exit; they need no display and no running Tolvane.
Exit status: 0 done, 1 failed (reason on standard error), 2 usage error
or a BROWSER that names no browser or several.</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>Try &apos;%1 --help&apos; for more information.</translation>
    </message>
    <message>
        <source>unexpected argument “%1”</source>
        <translation>unexpected argument “%1”</translation>
    </message>
    <message>
        <source>--json goes with --list</source>
        <translation>--json goes with --list</translation>
    </message>
    <message>
        <source>--set needs a browser</source>
        <translation>--set needs a browser</translation>
    </message>
    <message>
        <source>No default browser is set for https links.</source>
        <translation>No default browser is set for https links.</translation>
    </message>
    <message>
        <source>No installed browser is called “%1”. Installed browsers:</source>
        <translation>No installed browser is called “%1”. Installed browsers:</translation>
    </message>
    <message>
        <source>“%1” names several browsers; use one of their desktop file IDs:</source>
        <translation>“%1” names several browsers; use one of their desktop file IDs:</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A failure and its reason; French puts a space before the colon.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Could not make %1 the default browser: the settings file %2 cannot be read.</source>
        <translation>Could not make %1 the default browser: the settings file %2 cannot be read.</translation>
    </message>
    <message>
        <source>Links by rules: &apos;on&apos; makes Tolvane open each web link in the browser its first matching rule names (the default browser for the rest), &apos;off&apos; gives links back to the default browser; &apos;status&apos;, &apos;list&apos; (number, pattern, browser), &apos;add PATTERN BROWSER&apos; (BROWSER as --set takes it, or &apos;ask&apos;), &apos;remove N&apos;, &apos;test URL&apos; (the desktop file ID it goes to and the rule&apos;s number, or &apos;default&apos;).</source>
        <translation>Links by rules: &apos;on&apos; makes Tolvane open each web link in the browser its first matching rule names (the default browser for the rest), &apos;off&apos; gives links back to the default browser; &apos;status&apos;, &apos;list&apos; (number, pattern, browser), &apos;add PATTERN BROWSER&apos; (BROWSER as --set takes it, or &apos;ask&apos;), &apos;remove N&apos;, &apos;test URL&apos; (the desktop file ID it goes to and the rule&apos;s number, or &apos;default&apos;).</translation>
    </message>
    <message>
        <source>Open the URLs that follow as the link rules say.</source>
        <translation>Open the URLs that follow as the link rules say.</translation>
    </message>
    <message>
        <source>With --open: the links to open.</source>
        <translation>With --open: the links to open.</translation>
    </message>
    <message>
        <source>--list, --get, --set, --route and --open go one at a time</source>
        <translation>--list, --get, --set, --route and --open go one at a time</translation>
    </message>
    <message>
        <source>Links go to the default browser</source>
        <translation>Links go to the default browser</translation>
    </message>
    <message>
        <source>“%1” is not a web link</source>
        <translation>“%1” is not a web link</translation>
    </message>
    <message>
        <source>The browser “%1” of a link rule cannot open links: %2</source>
        <translation>The browser “%1” of a link rule cannot open links: %2</translation>
    </message>
    <message>
        <source>Could not open the link: %1</source>
        <translation>Could not open the link: %1</translation>
    </message>
    <message>
        <source>Could not turn link rules %1: %2</source>
        <translation>Could not turn link rules %1: %2</translation>
    </message>
    <message>
        <source>--route takes on, off, status, list, add PATTERN BROWSER, remove N or test URL</source>
        <translation>--route takes on, off, status, list, add PATTERN BROWSER, remove N or test URL</translation>
    </message>
    <message>
        <source>“%1”: %2</source>
        <translation>“%1”: %2</translation>
    </message>
    <message>
        <source>There is no rule %1.</source>
        <translation>There is no rule %1.</translation>
    </message>
</context>
<context>
    <name>Tolvane::links</name>
    <message>
        <source>Tolvane link rules</source>
        <translation>Tolvane link rules</translation>
    </message>
    <message>
        <source>No browser is chosen for the links no rule names.</source>
        <translation>No browser is chosen for the links no rule names.</translation>
    </message>
</context>
</TS>
