<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>FeedbackView</name>
    <message>
        <source>The file “%1” could not be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a local file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Submit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection unsuccessful</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images, videos, text and PDF documents</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GlobalKeys::RecorderField</name>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tellwick_Toolbox::TWKStarRatingView</name>
    <message>
        <source>Rating</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not set</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tolvane</name>
    <message>
        <source>Accessibility Request: Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accessibility Request: Content</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tolvane::BrowserPicker</name>
    <message>
        <source>(%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tolvane::BrowserRowLabel</name>
    <message>
        <source>(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tolvane::FeedbackView</name>
    <message>
        <source>Send Feedback</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attachment:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tolvane::FeedbackWindow</name>
    <message>
        <source>Send Feedback</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tolvane::MenuBarContent</name>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Feedback</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change default browser to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh list</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tolvane::SettingsView</name>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show browser version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If you have multiple versions of the same browser installed on the system, the version may be useful to distinguish between them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-confirm browser change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When enabled, %1 attempts to automatically confirm the system prompt for the browser change. Please note that this is not always possible.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>⚠️ This option requires %1 to be granted permission to control your computer. You can do so in System Settings &gt; Privacy &amp; Security &gt; Accessibility.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>💡 For even more flexibility, use %1 in the</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> [Shortcuts app](shortcuts://) </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tolvane::SettingsWindow</name>
    <message>
        <source>%1 Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
