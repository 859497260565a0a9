<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
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
    <name>Tolvane::SettingsWindow</name>
    <message>
        <source>%1 Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
