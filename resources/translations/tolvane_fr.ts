<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>FeedbackView</name>
    <message>
        <source>The file “%1” could not be read: %2</source>
        <translation>Le fichier « %1 » n’a pas pu être lu : %2</translation>
    </message>
    <message>
        <source>not a local file</source>
        <translation>ce n’est pas un fichier local</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>c’est un dossier</translation>
    </message>
    <message>
        <source>the file is larger than %1 MiB</source>
        <translation>le fichier dépasse %1 Mio</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Erreur inconnue</translation>
    </message>
    <message>
        <source>Submit</source>
        <translation>Envoyer</translation>
    </message>
    <message>
        <source>Connection unsuccessful</source>
        <translation>Échec de la connexion</translation>
    </message>
    <message>
        <source>Images, videos, text and PDF documents</source>
        <translation>Images, vidéos, textes et documents PDF</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>%1 could not reach the feedback service. Check that this computer is connected to the internet, then try again.</source>
        <translation>%1 n’a pas pu joindre le service de retours. Vérifiez que cet ordinateur est connecté à Internet, puis réessayez.</translation>
    </message>
    <message>
        <source>The feedback service could not be reached securely, so nothing was sent. Try again later.</source>
        <translation>Le service de retours n’a pas pu être joint de façon sûre : rien n’a été envoyé. Réessayez plus tard.</translation>
    </message>
    <message>
        <source>Sent with your message: the version of this application, your system&apos;s version and your computer&apos;s model.</source>
        <translation>Envoyés avec votre message : la version de cette application, la version de votre système et le modèle de votre ordinateur.</translation>
    </message>
    <message>
        <source>Sent with your message: the version of %1 (%2), your system (%3 %4) and your computer&apos;s model (%5).</source>
        <translation>Envoyés avec votre message : la version de %1 (%2), votre système (%3 %4) et le modèle de votre ordinateur (%5).</translation>
    </message>
</context>
<context>
    <name>GlobalKeys</name>
    <message>
        <source>space_key</source>
        <translation>Espace</translation>
    </message>
    <message>
        <source>super_key</source>
        <translation>Super</translation>
    </message>
    <message>
        <source>record_shortcut</source>
        <translation>Enregistrer un raccourci</translation>
    </message>
    <message>
        <source>press_shortcut</source>
        <translation>Appuyez sur un raccourci… Échap annule, Retour arrière efface</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_menu_item</source>
        <translation>L’élément de menu « %1 » a déjà ce raccourci.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_system</source>
        <translation>Le bureau réserve déjà ce raccourci.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_other_application</source>
        <translation>Une autre application utilise déjà ce raccourci.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_used_by_applications</source>
        <translation>Des applications utilisent %1 pour l’une de leurs propres commandes, comme Fermer, Copier ou Rechercher.</translation>
    </message>
    <message>
        <source>keyboard_shortcut_taken_from_applications</source>
        <translation>Utilisé pour tout le bureau, il ne leur parviendra plus.</translation>
    </message>
    <message>
        <source>keyboard_shortcuts_can_be_changed</source>
        <translation>Vous pouvez modifier les raccourcis du bureau dans ses paramètres du clavier.</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>force_use_shortcut</source>
        <translation>L’utiliser quand même</translation>
    </message>
    <message>
        <source>keyboard_shortcut_held_by_system</source>
        <translation>L’environnement de bureau utilise déjà ce raccourci et le garde pour lui ; il ne peut donc pas être utilisé ici.</translation>
    </message>
</context>
<context>
    <name>GlobalKeys::RecorderField</name>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
</context>
<context>
    <name>MainBundle</name>
    <message>
        <source>Copyright © %1. License: %2.</source>
        <translation>Copyright © %1. Licence : %2.</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <source>Shift</source>
        <translation>Maj</translation>
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
        <translation>Méta</translation>
    </message>
</context>
<context>
    <name>Tellwick_Toolbox::TWKStarRatingView</name>
    <message>
        <source>Rating</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Non définie</translation>
    </message>
</context>
<context>
    <name>Tolvane</name>
    <message>
        <source>Accessibility Request: Title</source>
        <translation>Tolvane a besoin des autorisations d’accessibilité</translation>
    </message>
    <message>
        <source>Accessibility Request: Content</source>
        <translation>Veuillez accorder l’accès pour pouvoir confirmer le changement de navigateur par défaut.</translation>
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
        <translation>Le navigateur n’est plus installé.</translation>
    </message>
    <message>
        <source>The desktop&apos;s list of default applications could not be written.</source>
        <translation>La liste des applications par défaut du bureau n’a pas pu être écrite.</translation>
    </message>
    <message>
        <source>The desktop still reports another default browser.</source>
        <translation>Le bureau indique toujours un autre navigateur par défaut.</translation>
    </message>
    <message>
        <source>The desktop refused the change.</source>
        <translation>Le bureau a refusé le changement.</translation>
    </message>
</context>
<context>
    <name>Tolvane::FeedbackView</name>
    <message>
        <source>Send Feedback</source>
        <translation>Envoyer un commentaire</translation>
    </message>
    <message>
        <source>Attachment:</source>
        <translation>Pièce jointe :</translation>
    </message>
    <message>
        <source>Choose File</source>
        <translation>Choisir un fichier</translation>
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
        <translation>Envoyer un commentaire</translation>
    </message>
    <message>
        <source>Discard your feedback?</source>
        <translation>Abandonner votre commentaire ?</translation>
    </message>
    <message>
        <source>What you typed will be lost.</source>
        <translation>Ce que vous avez saisi sera perdu.</translation>
    </message>
    <message>
        <source>Keep Editing</source>
        <translation>Continuer la saisie</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Abandonner</translation>
    </message>
</context>
<context>
    <name>Tolvane::FirstStartNotice</name>
    <message>
        <source>%1 is in the panel&apos;s tray</source>
        <translation>%1 se trouve dans la zone de notification du tableau de bord</translation>
    </message>
    <message>
        <source>Click its icon to choose the default browser, or to open its settings.</source>
        <translation>Cliquez sur son icône pour choisir le navigateur par défaut ou ouvrir ses réglages.</translation>
    </message>
</context>
<context>
    <name>Tolvane::HotKeyStatusLabel</name>
    <message>
        <source>Global shortcuts are not available on this desktop.</source>
        <translation>Les raccourcis globaux ne sont pas disponibles sur ce bureau.</translation>
    </message>
    <message>
        <source>The desktop assigned %1 to this shortcut.</source>
        <translation>Le bureau a attribué %1 à ce raccourci.</translation>
    </message>
    <message>
        <source>The desktop did not take this shortcut. Choose another key to try again.</source>
        <translation>L’environnement de bureau n’a pas accepté ce raccourci. Choisissez une autre touche pour réessayer.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkAsker</name>
    <message>
        <source>%1 could not be started. Pick another browser.</source>
        <translation>%1 n’a pas pu être lancé. Choisissez un autre navigateur.</translation>
    </message>
    <message>
        <source>Open Link</source>
        <translation>Ouvrir le lien</translation>
    </message>
    <message>
        <source>The link opened in %1, but the rule could not be saved.</source>
        <translation>Le lien s’est ouvert dans %1, mais la règle n’a pas pu être enregistrée.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkPicker</name>
    <message>
        <source>Open Link</source>
        <translation>Ouvrir le lien</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Lien</translation>
    </message>
    <message numerus="yes">
        <source>and %n more link(s)</source>
        <translation>
            <numerusform>et %n autre lien</numerusform>
            <numerusform>et %n autres liens</numerusform>
        </translation>
    </message>
    <message>
        <source>Browsers</source>
        <translation>Navigateurs</translation>
    </message>
    <message>
        <source>%1   %2 (default)</source>
        <translation>%1   %2 (par défaut)</translation>
    </message>
    <message>
        <source>Always open %1 here</source>
        <translation>Toujours ouvrir %1 ici</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message numerus="yes">
        <source>%n more link(s) waiting</source>
        <translation>
            <numerusform>%n autre lien en attente</numerusform>
            <numerusform>%n autres liens en attente</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkRules</name>
    <message>
        <source>The site is not a valid host name or address.</source>
        <translation>Le site n’est ni un nom d’hôte ni une adresse valide.</translation>
    </message>
    <message>
        <source>The site has an empty label: two dots in a row, or a dot at the start.</source>
        <translation>Le site contient une étiquette vide : deux points consécutifs, ou un point au début.</translation>
    </message>
    <message>
        <source>A “*” cannot share a part of the site with letters outside a–z.</source>
        <translation>Un « * » ne peut pas figurer dans une partie du site qui contient des lettres hors de a–z.</translation>
    </message>
    <message>
        <source>The “[” before an IPv6 address has no “]”.</source>
        <translation>Le « [ » devant une adresse IPv6 n’a pas de « ] ».</translation>
    </message>
    <message>
        <source>Only a port may follow an IPv6 address, like [::1]:8080.</source>
        <translation>Seul un port peut suivre une adresse IPv6, comme [::1]:8080.</translation>
    </message>
    <message>
        <source>Write an IPv6 address in brackets, like [::1].</source>
        <translation>Écrivez une adresse IPv6 entre crochets, comme [::1].</translation>
    </message>
    <message>
        <source>The pattern is empty.</source>
        <translation>Le motif est vide.</translation>
    </message>
    <message>
        <source>A pattern cannot contain spaces.</source>
        <translation>Un motif ne peut pas contenir d’espaces.</translation>
    </message>
    <message>
        <source>Links are matched without what follows “?” or “#”; leave that out.</source>
        <translation>Les liens sont comparés sans ce qui suit « ? » ou « # » ; omettez cette partie.</translation>
    </message>
    <message>
        <source>Leave out the scheme (“https://”): a pattern starts with the site.</source>
        <translation>Omettez le schéma (« https:// ») : un motif commence par le site.</translation>
    </message>
    <message>
        <source>The pattern names no site before “/” (“*/” stands for any site).</source>
        <translation>Le motif ne désigne aucun site avant « / » (« */ » désigne n’importe quel site).</translation>
    </message>
    <message>
        <source>A pattern names a site, not a user name before “@”.</source>
        <translation>Un motif désigne un site, pas un nom d’utilisateur avant « @ ».</translation>
    </message>
    <message>
        <source>The port must be a number from 1 to 65535.</source>
        <translation>Le port doit être un nombre de 1 à 65535.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkRulesFile</name>
    <message>
        <source>Could not read “%1”: %2</source>
        <translation>Impossible de lire « %1 » : %2</translation>
    </message>
    <message>
        <source>Could not read “%1”: it is not a regular file of at most 1 MiB</source>
        <translation>Impossible de lire « %1 » : ce n’est pas un fichier ordinaire d’au plus 1 Mio</translation>
    </message>
    <message>
        <source>a rule is a pattern and a browser</source>
        <translation>une règle se compose d’un motif et d’un navigateur</translation>
    </message>
    <message>
        <source>“%1”, line %2: %3</source>
        <translation>« %1 », ligne %2 : %3</translation>
    </message>
    <message>
        <source>Could not write “%1”: %2</source>
        <translation>Impossible d’écrire « %1 » : %2</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinkTargets</name>
    <message>
        <source>Ask each time</source>
        <translation>Demander à chaque fois</translation>
    </message>
    <message>
        <source>%1 (not installed)</source>
        <translation>%1 (non installé)</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinksAdaptor</name>
    <message>
        <source>No link was given.</source>
        <translation>Aucun lien n’a été fourni.</translation>
    </message>
    <message>
        <source>Tolvane runs without a display here and cannot ask which browser to use.</source>
        <translation>Tolvane s’exécute ici sans affichage et ne peut pas demander quel navigateur utiliser.</translation>
    </message>
</context>
<context>
    <name>Tolvane::LinksTab</name>
    <message>
        <source>Open links by rules</source>
        <translation>Ouvrir les liens selon des règles</translation>
    </message>
    <message>
        <source>%1 opens each web link in the browser of the first rule below that matches it, and every other link in the default browser.</source>
        <translation>%1 ouvre chaque lien web dans le navigateur de la première règle ci-dessous qui lui correspond, et tous les autres liens dans le navigateur par défaut.</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Motif</translation>
    </message>
    <message>
        <source>Opens in</source>
        <translation>S’ouvre dans</translation>
    </message>
    <message>
        <source>Link rules</source>
        <translation>Règles de liens</translation>
    </message>
    <message>
        <source>&amp;Add…</source>
        <translation>&amp;Ajouter…</translation>
    </message>
    <message>
        <source>Add a rule</source>
        <translation>Ajouter une règle</translation>
    </message>
    <message>
        <source>&amp;Edit…</source>
        <translation>&amp;Modifier…</translation>
    </message>
    <message>
        <source>Edit the rule</source>
        <translation>Modifier la règle</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>M&amp;onter</translation>
    </message>
    <message>
        <source>Move the rule up</source>
        <translation>Monter la règle</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>&amp;Descendre</translation>
    </message>
    <message>
        <source>Move the rule down</source>
        <translation>Descendre la règle</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>Remove the rule</source>
        <translation>Supprimer la règle</translation>
    </message>
    <message>
        <source>The first rule that matches a link decides. A site such as example.com also covers its subdomains.</source>
        <translation>La première règle qui correspond à un lien décide. Un site comme example.com couvre aussi ses sous-domaines.</translation>
    </message>
    <message>
        <source>https://example.com/page</source>
        <translation>https://example.com/page</translation>
    </message>
    <message>
        <source>Link to try</source>
        <translation>Lien à tester</translation>
    </message>
    <message>
        <source>&amp;Try a link</source>
        <translation>&amp;Tester un lien</translation>
    </message>
    <message>
        <source>Another program opens web links now.</source>
        <translation>Un autre programme ouvre désormais les liens web.</translation>
    </message>
    <message>
        <source>Links could not be handed to the rules.</source>
        <translation>Les liens n’ont pas pu être confiés aux règles.</translation>
    </message>
    <message>
        <source>Links could not be handed back to the default browser.</source>
        <translation>Les liens n’ont pas pu être rendus au navigateur par défaut.</translation>
    </message>
    <message>
        <source>The rules file was changed elsewhere; the list now shows it. Nothing was changed.</source>
        <translation>Le fichier de règles a été modifié ailleurs ; la liste en affiche maintenant le contenu. Rien n’a été modifié.</translation>
    </message>
    <message>
        <source>Not a web link</source>
        <translation>Ce n’est pas un lien web</translation>
    </message>
    <message>
        <source>Asks which browser (rule %1)</source>
        <translation>Demande quel navigateur (règle %1)</translation>
    </message>
    <message>
        <source>Opens in %1 (rule %2)</source>
        <translation>S’ouvre dans %1 (règle %2)</translation>
    </message>
    <message>
        <source>No rule matches, and no default browser is set</source>
        <translation>Aucune règle ne correspond et aucun navigateur par défaut n’est défini</translation>
    </message>
    <message>
        <source>Opens in %1 (rule %2 names a browser that is not installed; the default browser)</source>
        <translation>S’ouvre dans %1 (la règle %2 désigne un navigateur non installé ; le navigateur par défaut)</translation>
    </message>
    <message>
        <source>Opens in %1 (no rule; the default browser)</source>
        <translation>S’ouvre dans %1 (aucune règle ; le navigateur par défaut)</translation>
    </message>
    <message>
        <source>Link rules are off, and no default browser is set</source>
        <translation>Les règles de liens sont désactivées, et aucun navigateur par défaut n’est défini</translation>
    </message>
    <message>
        <source>Opens in %1: another program took web links from the rules</source>
        <translation>S’ouvre dans %1 : un autre programme a pris les liens web aux règles</translation>
    </message>
    <message>
        <source>Opens in %1: link rules are off</source>
        <translation>S’ouvre dans %1 : les règles de liens sont désactivées</translation>
    </message>
    <message>
        <source>Opens in %1: link rules are off (rule %2 would ask which browser)</source>
        <translation>S’ouvre dans %1 : les règles de liens sont désactivées (la règle %2 demanderait quel navigateur)</translation>
    </message>
    <message>
        <source>Opens in %1: link rules are off (rule %2 would open it in %3)</source>
        <translation>S’ouvre dans %1 : les règles de liens sont désactivées (la règle %2 l’ouvrirait dans %3)</translation>
    </message>
</context>
<context>
    <name>Tolvane::MenuBarContent</name>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Paramètres…</translation>
    </message>
    <message>
        <source>Send Feedback</source>
        <translation>Envoyer un commentaire</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Change default browser to</source>
        <translation>Changer le navigateur par défaut pour</translation>
    </message>
    <message>
        <source>Refresh list</source>
        <translation>Actualiser la liste</translation>
    </message>
</context>
<context>
    <name>Tolvane::NoTrayWindow</name>
    <message>
        <source>This desktop shows no tray icons, so Tolvane shows its menu here. On GNOME, the AppIndicator extension adds tray icons.</source>
        <translation>Ce bureau n’affiche pas d’icônes dans la zone de notification, Tolvane affiche donc son menu ici. Sous GNOME, l’extension AppIndicator ajoute ces icônes.</translation>
    </message>
</context>
<context>
    <name>Tolvane::RoutingWatch</name>
    <message>
        <source>Another program now opens web links</source>
        <translation>Un autre programme ouvre désormais les liens web</translation>
    </message>
    <message>
        <source>Link rules are off until you turn them on again.</source>
        <translation>Les règles de liens restent désactivées jusqu’à ce que vous les réactiviez.</translation>
    </message>
    <message>
        <source>Turn On</source>
        <translation>Activer</translation>
    </message>
    <message>
        <source>Could not turn link rules on</source>
        <translation>Impossible d’activer les règles de liens</translation>
    </message>
</context>
<context>
    <name>Tolvane::RuleDialog</name>
    <message>
        <source>Add Rule</source>
        <translation>Ajouter une règle</translation>
    </message>
    <message>
        <source>Edit Rule</source>
        <translation>Modifier la règle</translation>
    </message>
    <message>
        <source>example.com or example.com/docs/*</source>
        <translation>example.com ou example.com/docs/*</translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation>Motif</translation>
    </message>
    <message>
        <source>A site also covers its subdomains; a pattern with / or * is matched against the host and path of the link.</source>
        <translation>Un site couvre aussi ses sous-domaines ; un motif avec / ou * est comparé à l’hôte et au chemin du lien.</translation>
    </message>
    <message>
        <source>Open in</source>
        <translation>Ouvrir dans</translation>
    </message>
    <message>
        <source>&amp;Pattern</source>
        <translation>&amp;Motif</translation>
    </message>
    <message>
        <source>Open &amp;in</source>
        <translation>Ou&amp;vrir dans</translation>
    </message>
</context>
<context>
    <name>Tolvane::SettingsView</name>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Shortcuts</source>
        <translation>Raccourcis</translation>
    </message>
    <message>
        <source>Show browser version</source>
        <translation>Afficher la version du navigateur</translation>
    </message>
    <message>
        <source>If you have multiple versions of the same browser installed on the system, the version may be useful to distinguish between them.</source>
        <translation>Si plusieurs versions du même navigateur sont installées, la version aide à les distinguer.</translation>
    </message>
    <message>
        <source>Auto-confirm browser change</source>
        <translation>Confirmer automatiquement le changement de navigateur</translation>
    </message>
    <message>
        <source>When enabled, %1 attempts to automatically confirm the system prompt for the browser change. Please note that this is not always possible.</source>
        <translation>Si activé, %1 tente de confirmer automatiquement la demande du système lors du changement de navigateur. Ce bureau n’affiche pas une telle demande : l’option n’a donc aucun effet ici.</translation>
    </message>
    <message>
        <source>⚠️ This option requires %1 to be granted permission to control your computer. You can do so in System Settings &gt; Privacy &amp; Security &gt; Accessibility.</source>
        <translation>ℹ️ Sur ce bureau, %1 n’a besoin d’aucune autorisation de contrôler l’ordinateur pour cette option.</translation>
    </message>
    <message>
        <source>Change browser</source>
        <translation>Changer de navigateur</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>Raccourci</translation>
    </message>
    <message>
        <source>New Browser</source>
        <translation>Nouveau navigateur</translation>
    </message>
    <message>
        <source>💡 For even more flexibility, use %1 in the</source>
        <translation>💡 Pour plus de souplesse, pilotez %1 depuis vos propres scripts : voir le</translation>
    </message>
    <message>
        <source> [Shortcuts app](shortcuts://) </source>
        <translation> [guide d’automatisation](shortcuts://) </translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Lancer à l’ouverture de session</translation>
    </message>
    <message>
        <source>Links</source>
        <translation>Liens</translation>
    </message>
</context>
<context>
    <name>Tolvane::SettingsWindow</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
</context>
<context>
    <name>Tolvane::SwitchFailureNotice</name>
    <message>
        <source>Could not make %1 the default browser</source>
        <translation>Impossible de définir %1 comme navigateur par défaut</translation>
    </message>
    <message>
        <source>It is no longer installed. Choose another browser for the shortcut in the settings.</source>
        <translation>Il n’est plus installé. Choisissez un autre navigateur pour le raccourci dans les paramètres.</translation>
    </message>
    <message>
        <source>the chosen browser</source>
        <translation>le navigateur choisi</translation>
    </message>
</context>
<context>
    <name>Tolvane::TolvaShortcutReactor</name>
    <message>
        <source>Switch the default browser</source>
        <translation>Changer de navigateur par défaut</translation>
    </message>
</context>
<context>
    <name>Tolvane::TrayToolTip</name>
    <message>
        <source>Default browser: %1</source>
        <translation>Navigateur par défaut : %1</translation>
    </message>
</context>
<context>
    <name>Tolvane::cli</name>
    <message>
        <source>List the installed browsers, one per line: desktop file ID, name and version, separated by tabs.</source>
        <translation>Affiche les navigateurs installés, un par ligne : identifiant du fichier desktop, nom et version, séparés par des tabulations.</translation>
    </message>
    <message>
        <source>With --list: print one JSON array of objects with id, desktopId, name, version and isDefault.</source>
        <translation>Avec --list : affiche un tableau JSON d’objets avec id, desktopId, name, version et isDefault.</translation>
    </message>
    <message>
        <source>Print the desktop file ID of the default browser for https links.</source>
        <translation>Affiche l’identifiant du fichier desktop du navigateur par défaut pour les liens https.</translation>
    </message>
    <message>
        <source>Make BROWSER the default browser. BROWSER is an automation id, a desktop file ID (with or without .desktop) or the name of one listed browser.</source>
        <translation>Fait de BROWSER le navigateur par défaut. BROWSER est un identifiant d’automatisation, un identifiant de fichier desktop (avec ou sans .desktop) ou le nom d’un navigateur listé.</translation>
    </message>
    <message>
        <source>Tolvane lists the installed web browsers and makes one of them the default.
Without options it starts in the tray. The options below do their work
and exit; they need no display and no running Tolvane.
Exit status: 0 done, 1 failed (reason on standard error), 2 usage error
or a BROWSER that names no browser or several.</source>
        <translation>Tolvane affiche les navigateurs web installés et fait de l’un d’eux le navigateur par défaut.
Sans option, il démarre dans la zone de notification. Les options ci-dessous font leur travail
et se terminent ; elles n’ont besoin ni d’affichage ni d’un Tolvane en cours d’exécution.
Code de sortie : 0 fait, 1 échec (raison sur la sortie d’erreur), 2 erreur d’utilisation
ou un BROWSER qui ne désigne aucun navigateur ou plusieurs.</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>Essayez « %1 --help » pour plus d’informations.</translation>
    </message>
    <message>
        <source>unexpected argument “%1”</source>
        <translation>argument inattendu « %1 »</translation>
    </message>
    <message>
        <source>--json goes with --list</source>
        <translation>--json s’utilise avec --list</translation>
    </message>
    <message>
        <source>--set needs a browser</source>
        <translation>--set demande un navigateur</translation>
    </message>
    <message>
        <source>No default browser is set for https links.</source>
        <translation>Aucun navigateur par défaut n’est défini pour les liens https.</translation>
    </message>
    <message>
        <source>No installed browser is called “%1”. Installed browsers:</source>
        <translation>Aucun navigateur installé ne s’appelle « %1 ». Navigateurs installés :</translation>
    </message>
    <message>
        <source>“%1” names several browsers; use one of their desktop file IDs:</source>
        <translation>« %1 » désigne plusieurs navigateurs ; utilisez l’un de leurs identifiants de fichier desktop :</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A failure and its reason; French puts a space before the colon.</extracomment>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>Could not make %1 the default browser: the settings file %2 cannot be read.</source>
        <translation>Impossible de faire de %1 le navigateur par défaut : le fichier de réglages %2 est illisible.</translation>
    </message>
    <message>
        <source>Links by rules: &apos;on&apos; makes Tolvane open each web link in the browser its first matching rule names (the default browser for the rest), &apos;off&apos; gives links back to the default browser; &apos;status&apos;, &apos;list&apos; (number, pattern, browser), &apos;add PATTERN BROWSER&apos; (BROWSER as --set takes it, or &apos;ask&apos;), &apos;remove N&apos;, &apos;test URL&apos; (the desktop file ID it goes to and the rule&apos;s number, or &apos;default&apos;).</source>
        <translation>Liens selon des règles : « on » fait ouvrir par Tolvane chaque lien web dans le navigateur que désigne sa première règle correspondante (le navigateur par défaut pour les autres), « off » rend les liens au navigateur par défaut ; « status », « list » (numéro, motif, navigateur), « add PATTERN BROWSER » (BROWSER tel que --set l’accepte, ou « ask »), « remove N », « test URL » (l’identifiant du fichier desktop auquel va le lien et le numéro de la règle, ou « default »).</translation>
    </message>
    <message>
        <source>Open the URLs that follow as the link rules say.</source>
        <translation>Ouvre les URL qui suivent comme le disent les règles de liens.</translation>
    </message>
    <message>
        <source>With --open: the links to open.</source>
        <translation>Avec --open : les liens à ouvrir.</translation>
    </message>
    <message>
        <source>--list, --get, --set, --route and --open go one at a time</source>
        <translation>--list, --get, --set, --route et --open s’utilisent un seul à la fois</translation>
    </message>
    <message>
        <source>Links go to the default browser</source>
        <translation>Les liens vont au navigateur par défaut</translation>
    </message>
    <message>
        <source>“%1” is not a web link</source>
        <translation>« %1 » n’est pas un lien web</translation>
    </message>
    <message>
        <source>The browser “%1” of a link rule cannot open links: %2</source>
        <translation>Le navigateur « %1 » d’une règle de liens ne peut pas ouvrir de liens : %2</translation>
    </message>
    <message>
        <source>Could not open the link: %1</source>
        <translation>Impossible d’ouvrir le lien : %1</translation>
    </message>
    <message>
        <source>Could not turn link rules %1: %2</source>
        <translation>Impossible de passer les règles de liens à %1 : %2</translation>
    </message>
    <message>
        <source>--route takes on, off, status, list, add PATTERN BROWSER, remove N or test URL</source>
        <translation>--route accepte on, off, status, list, add PATTERN BROWSER, remove N ou test URL</translation>
    </message>
    <message>
        <source>“%1”: %2</source>
        <translation>« %1 » : %2</translation>
    </message>
    <message>
        <source>There is no rule %1.</source>
        <translation>Il n’y a pas de règle %1.</translation>
    </message>
</context>
<context>
    <name>Tolvane::links</name>
    <message>
        <source>Tolvane link rules</source>
        <translation>Règles de liens Tolvane</translation>
    </message>
    <message>
        <source>No browser is chosen for the links no rule names.</source>
        <translation>Aucun navigateur n’est choisi pour les liens qu’aucune règle ne désigne.</translation>
    </message>
</context>
</TS>
