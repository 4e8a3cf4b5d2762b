<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>QObject</name>
    <message>
        <source>Open Address Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quorvin Explorer Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No mail program could be started to write to [%1]. Write to this address from the mail program you use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No web browser could be started to open [%1]. Open this address in the browser you use.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TSiteBookForm</name>
    <message>
        <source>... and %1 more</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TSshQuestionForm</name>
    <message>
        <source>Unknown Host Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Unknown Host Key]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSH Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Password]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key Passphrase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Passphrase]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSH Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Login Question]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSH Confirmation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Confirm]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSH Notice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Notice]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx</name>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished">&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished">&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished">&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;HTML</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;C++</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Pascal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pe&amp;rl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Java</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;SQL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tcl/Tk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;AWK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;DML</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do &amp;not use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Toolbar|Toggle File Toolbar Visibility</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Toolbar|Toggle Edit Toolbar Visibility</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Toolbar|Toggle View Toolbar Visibility</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tool</source>
        <translation type="unfinished">E&amp;xtras</translation>
    </message>
    <message>
        <source>Tool Toolbar|Toggle Tool Toolbar Visibility</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lar&amp;ge Icons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Large Icons|View File List with Large Icons Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;mall Icons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Small Icons|View File List with Small Icons Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List|View File List with List Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details|View File List with Details Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by &amp;Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name|Arrange Icons by Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by &amp;Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type|Arrange Icons by Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by Si&amp;ze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size|Arrange Icons by Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by &amp;Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date|Arrange Icons by Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by &amp;Permission</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permission|Arrange Icons by Permission</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::Core</name>
    <message>
        <source>%1 Folders, %2 Files, %3</source>
        <translation>%1 Ordner, %2 Dateien, %3</translation>
    </message>
    <message>
        <source>%1 Folders, %2 Files Selected, %3</source>
        <translation>%1 Ordner, %2 Dateien ausgewählt, %3</translation>
    </message>
    <message>
        <source>Explore</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Carry</source>
        <translation>Übertragen</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Transfer Type</source>
        <translation>Übertragungsart</translation>
    </message>
    <message>
        <source>Resuming</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Transfer Rate</source>
        <translation>Übertragungsrate</translation>
    </message>
    <message>
        <source>Time Left</source>
        <translation>Restzeit</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>Response</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>Error Message</source>
        <translation>Fehlermeldung</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>[%1 Items Queued]</source>
        <translation>[%1 Einträge in der Warteschlange]</translation>
    </message>
    <message>
        <source>% Idle</source>
        <translation>% Bereit</translation>
    </message>
    <message>
        <source>% Connecting</source>
        <translation>% Verbindung wird hergestellt</translation>
    </message>
    <message>
        <source>% Changing Path</source>
        <translation>% Pfad wird gewechselt</translation>
    </message>
    <message>
        <source>% Getting Path</source>
        <translation>% Pfad wird ermittelt</translation>
    </message>
    <message>
        <source>% Listing</source>
        <translation>% Liste wird gelesen</translation>
    </message>
    <message>
        <source>% Renaming</source>
        <translation>% Wird umbenannt</translation>
    </message>
    <message>
        <source>% Removing</source>
        <translation>% Wird gelöscht</translation>
    </message>
    <message>
        <source>% Downloading</source>
        <translation>% Wird heruntergeladen</translation>
    </message>
    <message>
        <source>% Uploading</source>
        <translation>% Wird hochgeladen</translation>
    </message>
    <message>
        <source>% Making Folder</source>
        <translation>% Ordner wird erstellt</translation>
    </message>
    <message>
        <source>% Quitting</source>
        <translation>% Verbindung wird beendet</translation>
    </message>
    <message>
        <source>% Changing Permission</source>
        <translation>% Zugriffsrechte werden geändert</translation>
    </message>
    <message>
        <source>% Uppercasing</source>
        <translation>% Umwandlung in Großbuchstaben</translation>
    </message>
    <message>
        <source>% Lowercasing</source>
        <translation>% Umwandlung in Kleinbuchstaben</translation>
    </message>
    <message>
        <source>the sizes differ and the times agree only to the day</source>
        <translation>die Größen weichen ab, und die Zeiten stimmen nur auf den Tag genau überein</translation>
    </message>
    <message>
        <source>the sizes differ; the times agree only to the day</source>
        <translation>die Größen weichen ab; die Zeiten stimmen nur auf den Tag genau überein</translation>
    </message>
    <message>
        <source>the sizes differ and the times agree only to the minute</source>
        <translation>die Größen weichen ab, und die Zeiten stimmen nur auf die Minute genau überein</translation>
    </message>
    <message>
        <source>the sizes differ; the times agree only to the minute</source>
        <translation>die Größen weichen ab; die Zeiten stimmen nur auf die Minute genau überein</translation>
    </message>
    <message>
        <source>the sizes differ and a side tells no time</source>
        <translation>die Größen weichen ab, und eine Seite nennt keine Zeit</translation>
    </message>
    <message>
        <source>the sizes differ; a side tells no time</source>
        <translation>die Größen weichen ab; eine Seite nennt keine Zeit</translation>
    </message>
    <message>
        <source>a file on one side, a folder on the other</source>
        <translation>auf einer Seite eine Datei, auf der anderen ein Ordner</translation>
    </message>
    <message>
        <source>only here</source>
        <translation>nur hier</translation>
    </message>
    <message>
        <source>only there</source>
        <translation>nur dort</translation>
    </message>
    <message>
        <source>not in the source</source>
        <translation>nicht in der Quelle</translation>
    </message>
    <message>
        <source>the sizes differ</source>
        <translation>die Größen weichen ab</translation>
    </message>
    <message>
        <source>the source is newer</source>
        <translation>die Quelle ist neuer</translation>
    </message>
    <message>
        <source>the target is newer</source>
        <translation>das Ziel ist neuer</translation>
    </message>
    <message>
        <source>changed on both sides since the last synchronization</source>
        <translation>seit der letzten Synchronisierung auf beiden Seiten geändert</translation>
    </message>
    <message>
        <source>changed here since the last synchronization</source>
        <translation>seit der letzten Synchronisierung hier geändert</translation>
    </message>
    <message>
        <source>changed there since the last synchronization</source>
        <translation>seit der letzten Synchronisierung dort geändert</translation>
    </message>
    <message>
        <source>newer here</source>
        <translation>hier neuer</translation>
    </message>
    <message>
        <source>newer there</source>
        <translation>dort neuer</translation>
    </message>
    <message>
        <source>newer here; no earlier synchronization is known</source>
        <translation>hier neuer; keine frühere Synchronisierung bekannt</translation>
    </message>
    <message>
        <source>newer there; no earlier synchronization is known</source>
        <translation>dort neuer; keine frühere Synchronisierung bekannt</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Create remote folder</source>
        <translation>Ordner auf dem Server erstellen</translation>
    </message>
    <message>
        <source>Create local folder</source>
        <translation>Lokalen Ordner erstellen</translation>
    </message>
    <message>
        <source>Delete remote</source>
        <translation>Auf dem Server löschen</translation>
    </message>
    <message>
        <source>Delete local</source>
        <translation>Lokal löschen</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Conflict</source>
        <translation>Konflikt</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>The folder [%1] could not be made: %2</source>
        <translation>Der Ordner [%1] konnte nicht erstellt werden: %2</translation>
    </message>
    <message>
        <source>[%1] was not transferred: its folder could not be made</source>
        <translation>[%1] wurde nicht übertragen: Sein Ordner konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>[%1] was not transferred: see the queue&apos;s fail list</source>
        <translation>[%1] wurde nicht übertragen: Siehe die Liste der fehlgeschlagenen Übertragungen in der Warteschlange</translation>
    </message>
    <message>
        <source>[%1] was not transferred: it was deleted from the queue</source>
        <translation>[%1] wurde nicht übertragen: Es wurde aus der Warteschlange gelöscht</translation>
    </message>
    <message>
        <source>[%1] was not deleted: a transfer into its folder failed</source>
        <translation>[%1] wurde nicht gelöscht: Eine Übertragung in seinen Ordner ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>[%1] could not be deleted: %2</source>
        <translation>[%1] konnte nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <source>The folder [%1] was left: %2</source>
        <translation>Der Ordner [%1] wurde belassen: %2</translation>
    </message>
    <message>
        <source>The folder [%1] was left: it is not empty</source>
        <translation>Der Ordner [%1] wurde belassen: Er ist nicht leer</translation>
    </message>
</context>
<context>
    <name>qx::TCarrierForm</name>
    <message>
        <source>Pellucor&apos;s Carrier %1</source>
        <translation>Pellucor&apos;s Warteschlange %1</translation>
    </message>
    <message>
        <source>%1 of %2 running</source>
        <translation>%1 von %2 aktiv</translation>
    </message>
    <message>
        <source>Suspended, %1 running</source>
        <translation>Angehalten, %1 aktiv</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <source>Resume|Resume the transfers</source>
        <translation>Fortsetzen|Die Übertragungen fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Suspend</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>Suspend|Start no new transfers; running ones go on</source>
        <translation>Anhalten|Keine neuen Übertragungen starten; laufende werden fortgesetzt</translation>
    </message>
    <message>
        <source>&amp;Abort</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>Abort|Abort the selected transfers</source>
        <translation>Abbrechen|Die ausgewählten Übertragungen abbrechen</translation>
    </message>
    <message>
        <source>Resub&amp;mit</source>
        <translation>&amp;Erneut einreihen</translation>
    </message>
    <message>
        <source>Resubmit|Queue the selected failed items again</source>
        <translation>Erneut einreihen|Die ausgewählten fehlgeschlagenen Einträge erneut in die Warteschlange stellen</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>A&amp;usblenden</translation>
    </message>
    <message>
        <source>Hide|Hide Carrier</source>
        <translation>Ausblenden|Warteschlange ausblenden</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>Add|Add an item</source>
        <translation>Hinzufügen|Einen Eintrag hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete|Delete the selected items from the queue</source>
        <translation>Löschen|Die ausgewählten Einträge aus der Warteschlange löschen</translation>
    </message>
    <message>
        <source>&amp;Queue</source>
        <translation>&amp;Warteschlange</translation>
    </message>
    <message>
        <source>Clear Queue|Delete every queued item</source>
        <translation>Warteschlange leeren|Alle wartenden Einträge löschen</translation>
    </message>
    <message>
        <source>&amp;Success</source>
        <translation>&amp;Erfolgreiche</translation>
    </message>
    <message>
        <source>Clear Success|Empty the success list</source>
        <translation>Erfolgreiche leeren|Die Liste der erfolgreichen Übertragungen leeren</translation>
    </message>
    <message>
        <source>&amp;Fail</source>
        <translation>&amp;Fehlgeschlagene</translation>
    </message>
    <message>
        <source>Clear Fail|Delete every failed item</source>
        <translation>Fehlgeschlagene leeren|Alle fehlgeschlagenen Einträge löschen</translation>
    </message>
    <message>
        <source>Speed &amp;Limit...</source>
        <translation>&amp;Geschwindigkeitsbegrenzung...</translation>
    </message>
    <message>
        <source>Speed Limit|Limit the speed of the queue&apos;s transfers together</source>
        <translation>Geschwindigkeitsbegrenzung|Die Geschwindigkeit aller Übertragungen der Warteschlange gemeinsam begrenzen</translation>
    </message>
    <message>
        <source>&amp;Service</source>
        <translation>&amp;Dienst</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>Lee&amp;ren</translation>
    </message>
    <message>
        <source>Carrier</source>
        <translation>Warteschlange</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Maximum Number of Transfer Thread</source>
        <translation>Höchstzahl gleichzeitiger Übertragungen</translation>
    </message>
    <message>
        <source>Queue</source>
        <translation>Warteschlange</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erfolgreich</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Speed Limit</source>
        <translation>Geschwindigkeitsbegrenzung</translation>
    </message>
    <message>
        <source>All transfers of the queue together</source>
        <translation>Alle Übertragungen der Warteschlange zusammen</translation>
    </message>
</context>
<context>
    <name>qx::TCertificateForm</name>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Certificate Not Verified]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server Certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning: %1 port %2 shows another certificate than the one you trusted before. Someone may be listening in between, or the server got a new certificate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate of %1 (port %2) cannot be verified: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Issuer:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valid from:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valid until:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SHA-256:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trusted before:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trust it only when you know that this is the server&apos;s certificate (compare the fingerprint with the one its administrator gave you).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trust &amp;Once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trust &amp;Always</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished">Abbrechen</translation>
    </message>
</context>
<context>
    <name>qx::TChangePermForm</name>
    <message>
        <source>Remote Explorer</source>
        <translation>Server-Explorer</translation>
    </message>
    <message>
        <source>[Change Permission]</source>
        <translation>[Zugriffsrechte ändern]</translation>
    </message>
    <message>
        <source>You</source>
        <translation>Besitzer</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Andere</translation>
    </message>
    <message>
        <source>Readable</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Writable</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Executable</source>
        <translation>Ausführen</translation>
    </message>
</context>
<context>
    <name>qx::TCompareLegend</name>
    <message>
        <source>only here</source>
        <translation>nur hier</translation>
    </message>
    <message>
        <source>only there</source>
        <translation>nur dort</translation>
    </message>
    <message>
        <source>newer here</source>
        <translation>hier neuer</translation>
    </message>
    <message>
        <source>newer there</source>
        <translation>dort neuer</translation>
    </message>
    <message>
        <source>size differs</source>
        <translation>Größe weicht ab</translation>
    </message>
    <message>
        <source>a file on one side, a folder on the other</source>
        <translation>auf einer Seite eine Datei, auf der anderen ein Ordner</translation>
    </message>
    <message>
        <source>same</source>
        <translation>gleich</translation>
    </message>
</context>
<context>
    <name>qx::TExplorerShell</name>
    <message>
        <source>Folder Tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File List</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::TExplorerViewCommands</name>
    <message>
        <source>Arrange &amp;Icons</source>
        <translation>Symbole an&amp;ordnen</translation>
    </message>
    <message>
        <source>Arrange Icons</source>
        <translation>Symbole anordnen</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Style|View File List with</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::TFileListModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Permission</source>
        <translation>Zugriffsrechte</translation>
    </message>
</context>
<context>
    <name>qx::TFindFilesForm</name>
    <message>
        <source>Find Files</source>
        <translation>Dateien suchen</translation>
    </message>
    <message>
        <source>&amp;Named:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Look in:</source>
        <translation>&amp;Suchen in:</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>S&amp;uchen</translation>
    </message>
    <message>
        <source>Cannot find files in [%1]: it is not a folder.</source>
        <translation>In [%1] kann nicht gesucht werden: Es ist kein Ordner.</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message numerus="yes">
        <source>%n files found.</source>
        <translation>
            <numerusform>%n Datei gefunden.</numerusform>
            <numerusform>%n Dateien gefunden.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>qx::TFindReplaceForm</name>
    <message>
        <source>[Find Text]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Replace Text]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Text to find:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace with:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Case sensitive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Whole words only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Prompt on replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Direction</source>
        <translation type="unfinished">Richtung</translation>
    </message>
    <message>
        <source>Forwar&amp;d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Backward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scope</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Global</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Selected text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Origin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;From cursor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Entire scope</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::TFontChoiceForm</name>
    <message>
        <source>Global Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Select Font]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The windows are laid out for sizes from %1 to %2 points.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AaBbCcXxYyZz 0123456789</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::TGlobalOptionsForm</name>
    <message>
        <source>Quorvin Explorer r2000.2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Global Options]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished">Abbrechen</translation>
    </message>
    <message>
        <source>Select Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Wav</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave File (*.wav)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Executable File (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Options Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[%1] is not a program that can be started.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::THelpForm</name>
    <message>
        <source>Quorvin Explorer Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::TInputForm</name>
    <message>
        <source>Input</source>
        <translation>Eingabe</translation>
    </message>
</context>
<context>
    <name>qx::TLocalCopyRunner</name>
    <message>
        <source>Local Explorer</source>
        <translation>Lokaler Explorer</translation>
    </message>
    <message>
        <source>Another copy is still running; paste again when it ends.</source>
        <translation>Ein anderer Kopiervorgang läuft noch; fügen Sie erneut ein, wenn er beendet ist.</translation>
    </message>
    <message>
        <source>Local Explorer Move Error</source>
        <translation>Lokaler Explorer – Fehler beim Verschieben</translation>
    </message>
    <message>
        <source>Local Explorer Copy Error</source>
        <translation>Lokaler Explorer – Fehler beim Kopieren</translation>
    </message>
    <message>
        <source>Local Explorer Replace Confirm</source>
        <translation>Lokaler Explorer – Ersetzen bestätigen</translation>
    </message>
    <message>
        <source>[%1] already exists in [%2].
Replace it? (A folder is merged, its files of the same names replaced.)</source>
        <translation>[%1] ist in [%2] bereits vorhanden.
Ersetzen? (Ein Ordner wird zusammengeführt, seine gleichnamigen Dateien werden ersetzt.)</translation>
    </message>
    <message>
        <source>Moving...</source>
        <translation>Wird verschoben...</translation>
    </message>
    <message>
        <source>Copying...</source>
        <translation>Wird kopiert...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>qx::TLocalExpForm</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Tool</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Upload</source>
        <translation>&amp;Hochladen</translation>
    </message>
    <message>
        <source>Upload|Upload Selected Items</source>
        <translation>Hochladen|Ausgewählte Elemente hochladen</translation>
    </message>
    <message>
        <source>Upload in &amp;Queue</source>
        <translation>In &amp;Warteschlange hochladen</translation>
    </message>
    <message>
        <source>Upload in Queue|Upload Selected Items in Queue</source>
        <translation>In Warteschlange hochladen|Ausgewählte Elemente über die Warteschlange hochladen</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Öffnen...</translation>
    </message>
    <message>
        <source>Open...|Open Selected Item...</source>
        <translation>Öffnen...|Ausgewähltes Element öffnen...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print...|Print Selected Item...</source>
        <translation>Drucken...|Ausgewähltes Element drucken...</translation>
    </message>
    <message>
        <source>Up &amp;One Level</source>
        <translation>Eine Ebene nach &amp;oben</translation>
    </message>
    <message>
        <source>Up One Level|Go up One Level</source>
        <translation>Eine Ebene nach oben|Eine Ebene nach oben wechseln</translation>
    </message>
    <message>
        <source>New &amp;Folder</source>
        <translation>Neuer O&amp;rdner</translation>
    </message>
    <message>
        <source>New Folder|Create New Folder...</source>
        <translation>Neuer Ordner|Neuen Ordner erstellen...</translation>
    </message>
    <message>
        <source>&amp;Shortcuts</source>
        <translation>&amp;Verknüpfungen erstellen</translation>
    </message>
    <message>
        <source>Shortcuts|Create Shortcuts for Selected Items</source>
        <translation>Verknüpfungen|Verknüpfungen zu den ausgewählten Elementen erstellen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete|Delete Selected Items</source>
        <translation>Löschen|Ausgewählte Elemente löschen</translation>
    </message>
    <message>
        <source>Rena&amp;me</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>Rename|Rename Selected Item</source>
        <translation>Umbenennen|Ausgewähltes Element umbenennen</translation>
    </message>
    <message>
        <source>&amp;Filtering...</source>
        <translation>&amp;Filtern...</translation>
    </message>
    <message>
        <source>Filtering...|File Filtering...</source>
        <translation>Filtern...|Dateien filtern...</translation>
    </message>
    <message>
        <source>P&amp;roperties...</source>
        <translation>Ei&amp;genschaften...</translation>
    </message>
    <message>
        <source>Properties...|View Properties of Selected Items</source>
        <translation>Eigenschaften...|Eigenschaften der ausgewählten Elemente anzeigen</translation>
    </message>
    <message>
        <source>Context Menu...</source>
        <translation>Kontextmenü...</translation>
    </message>
    <message>
        <source>Context Menu...|Display Windows Context Menu</source>
        <translation>Kontextmenü...|Kontextmenü anzeigen</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>&amp;Ausblenden</translation>
    </message>
    <message>
        <source>Hide|Hide Local Explorer</source>
        <translation>Ausblenden|Lokalen Explorer ausblenden</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Cut|Cut Selected Items to Clipboard</source>
        <translation>Ausschneiden|Ausgewählte Elemente ausschneiden und in die Zwischenablage legen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy|Copy Selected Items to Clipboard</source>
        <translation>Kopieren|Ausgewählte Elemente in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste|Paste from Clipboard</source>
        <translation>Einfügen|Aus der Zwischenablage einfügen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles aus&amp;wählen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>&amp;Invert Selection</source>
        <translation>Auswahl &amp;umkehren</translation>
    </message>
    <message>
        <source>Invert Selection</source>
        <translation>Auswahl umkehren</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Find Files...</source>
        <translation>Dateien suchen...</translation>
    </message>
    <message>
        <source>Find Computer...</source>
        <translation>Computer suchen...</translation>
    </message>
    <message>
        <source>Network Drive &amp;Connect...</source>
        <translation>Netzlaufwerk &amp;verbinden...</translation>
    </message>
    <message>
        <source>Network Drive Connect...</source>
        <translation>Netzlaufwerk verbinden...</translation>
    </message>
    <message>
        <source>Network Drive &amp;Disconnect...</source>
        <translation>Netzlaufwerk &amp;trennen...</translation>
    </message>
    <message>
        <source>Network Drive Disconnect...</source>
        <translation>Netzlaufwerk trennen...</translation>
    </message>
    <message>
        <source>S&amp;ynchronize...</source>
        <translation>&amp;Synchronisieren...</translation>
    </message>
    <message>
        <source>Synchronize...|Synchronize This Folder with the Remote Explorer&apos;s Folder</source>
        <translation>Synchronisieren...|Diesen Ordner mit dem Ordner des Server-Explorers synchronisieren</translation>
    </message>
    <message>
        <source>Compare &amp;Folders</source>
        <translation>&amp;Ordner vergleichen</translation>
    </message>
    <message>
        <source>Compare Folders|Compare the Folder with the Remote Explorer&apos;s Folder</source>
        <translation>Ordner vergleichen|Den Ordner mit dem Ordner des Server-Explorers vergleichen</translation>
    </message>
    <message>
        <source>Only &amp;Differences</source>
        <translation>Nur &amp;Unterschiede</translation>
    </message>
    <message>
        <source>Only Differences|Show Only the Items that Differ</source>
        <translation>Nur Unterschiede|Nur die Elemente zeigen, die sich unterscheiden</translation>
    </message>
    <message>
        <source>Needs the gio tool of the desktop, which is not installed</source>
        <translation>Benötigt das Programm gio der Arbeitsumgebung, das nicht installiert ist</translation>
    </message>
    <message>
        <source>Pellucor&apos;s Local Explorer %1</source>
        <translation>Pellucor&apos;s Lokaler Explorer %1</translation>
    </message>
    <message>
        <source>Local Explorer</source>
        <translation>Lokaler Explorer</translation>
    </message>
    <message>
        <source>Local Explorer Rename Error</source>
        <translation>Lokaler Explorer – Fehler beim Umbenennen</translation>
    </message>
    <message>
        <source>Cannot read [%1]: %2.</source>
        <translation>[%1] kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>[Network Drive Connect]</source>
        <translation>[Netzlaufwerk verbinden]</translation>
    </message>
    <message>
        <source>[Network Drive Disconnect]</source>
        <translation>[Netzlaufwerk trennen]</translation>
    </message>
    <message>
        <source>Address (smb://, sftp://, ftp://):</source>
        <translation>Adresse (smb://, sftp://, ftp://):</translation>
    </message>
    <message>
        <source>Address or mounted folder:</source>
        <translation>Adresse oder eingehängter Ordner:</translation>
    </message>
    <message>
        <source>Network Drive Connect Error</source>
        <translation>Fehler beim Verbinden des Netzlaufwerks</translation>
    </message>
    <message>
        <source>Network Drive Disconnect Error</source>
        <translation>Fehler beim Trennen des Netzlaufwerks</translation>
    </message>
    <message>
        <source>Cannot mount [%1]:
%2</source>
        <translation>[%1] kann nicht eingehängt werden:
%2</translation>
    </message>
    <message>
        <source>Cannot unmount [%1]:
%2</source>
        <translation>[%1] kann nicht ausgehängt werden:
%2</translation>
    </message>
    <message>
        <source>Cannot run gio for [%1]: %2</source>
        <translation>gio kann für [%1] nicht ausgeführt werden: %2</translation>
    </message>
    <message>
        <source>Local Explorer Upload Error</source>
        <translation>Lokaler Explorer – Fehler beim Hochladen</translation>
    </message>
    <message>
        <source>These names cannot be sent to a server and are left out:
%1</source>
        <translation>Diese Namen können nicht an einen Server gesendet werden und werden ausgelassen:
%1</translation>
    </message>
    <message>
        <source>Local Explorer Error</source>
        <translation>Lokaler Explorer – Fehler</translation>
    </message>
    <message>
        <source>These names cannot be local file names and are left out:
%1</source>
        <translation>Diese Namen können keine lokalen Dateinamen sein und werden ausgelassen:
%1</translation>
    </message>
    <message>
        <source>Local Explorer Open Error</source>
        <translation>Lokaler Explorer – Fehler beim Öffnen</translation>
    </message>
    <message>
        <source>Cannot open [%1]: it is no folder any more.</source>
        <translation>[%1] kann nicht geöffnet werden: Es ist kein Ordner mehr.</translation>
    </message>
    <message>
        <source>Cannot open [%1]: no program opens files of this type.</source>
        <translation>[%1] kann nicht geöffnet werden: Kein Programm öffnet Dateien dieses Typs.</translation>
    </message>
    <message>
        <source>Local Explorer Print Error</source>
        <translation>Lokaler Explorer – Fehler beim Drucken</translation>
    </message>
    <message>
        <source>Cannot print [%1]: no print spooler (lp) is installed.</source>
        <translation>[%1] kann nicht gedruckt werden: Kein Druckdienst (lp) ist installiert.</translation>
    </message>
    <message>
        <source>Cannot print [%1]: %2.</source>
        <translation>[%1] kann nicht gedruckt werden: %2.</translation>
    </message>
    <message>
        <source>Cannot print [%1]:
%2</source>
        <translation>[%1] kann nicht gedruckt werden:
%2</translation>
    </message>
    <message>
        <source>Cannot print [%1]: %2</source>
        <translation>[%1] kann nicht gedruckt werden: %2</translation>
    </message>
    <message>
        <source>Cannot create folder [%1]: %2.</source>
        <translation>Der Ordner [%1] kann nicht erstellt werden: %2.</translation>
    </message>
    <message>
        <source>Cannot create a link to [%1]: %2.</source>
        <translation>Eine Verknüpfung zu [%1] kann nicht erstellt werden: %2.</translation>
    </message>
    <message>
        <source>Local Explorer Delete Confirm</source>
        <translation>Lokaler Explorer – Löschen bestätigen</translation>
    </message>
    <message>
        <source>Cannot delete [%1].</source>
        <translation>[%1] kann nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Cannot delete [%1]: %2.</source>
        <translation>[%1] kann nicht gelöscht werden: %2.</translation>
    </message>
    <message>
        <source>Local Explorer Delete Error</source>
        <translation>Lokaler Explorer – Fehler beim Löschen</translation>
    </message>
    <message>
        <source>
The trash may not be available on this file system; nothing else was removed.</source>
        <translation>
Auf diesem Dateisystem gibt es möglicherweise keinen Papierkorb; sonst wurde nichts entfernt.</translation>
    </message>
    <message>
        <source>[Filtering]</source>
        <translation>[Filtern]</translation>
    </message>
    <message>
        <source>Filter:</source>
        <translation>Filter:</translation>
    </message>
    <message>
        <source>Move [%1] to the trash?</source>
        <translation>[%1] in den Papierkorb verschieben?</translation>
    </message>
    <message numerus="yes">
        <source>Move these %n items to the trash?</source>
        <translation>
            <numerusform>Dieses Element in den Papierkorb verschieben?</numerusform>
            <numerusform>Diese %n Elemente in den Papierkorb verschieben?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>qx::TLocalFileListModel</name>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Geändert am</translation>
    </message>
    <message>
        <source>Cannot rename [%1] to [%2]: %3.</source>
        <translation>[%1] kann nicht in [%2] umbenannt werden: %3.</translation>
    </message>
</context>
<context>
    <name>qx::TLocalFolderTreeModel</name>
    <message>
        <source>Home</source>
        <translation>Persönlicher Ordner</translation>
    </message>
    <message>
        <source>Cannot rename [%1] to [%2]: %3.</source>
        <translation>[%1] kann nicht in [%2] umbenannt werden: %3.</translation>
    </message>
</context>
<context>
    <name>qx::TLocalIconProvider</name>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>System File</source>
        <translation>Systemdatei</translation>
    </message>
</context>
<context>
    <name>qx::TLocalPropertiesForm</name>
    <message numerus="yes">
        <source>%1 (%2 bytes, %n files)</source>
        <translation>
            <numerusform>%1 (%2 Bytes, %n Datei)</numerusform>
            <numerusform>%1 (%2 Bytes, %n Dateien)</numerusform>
        </translation>
    </message>
    <message>
        <source>Properties [%1]</source>
        <translation>Eigenschaften [%1]</translation>
    </message>
    <message numerus="yes">
        <source>%n Items</source>
        <translation>
            <numerusform>%n Element</numerusform>
            <numerusform>%n Elemente</numerusform>
        </translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Link to %1</source>
        <translation>Verknüpfung zu %1</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Ort:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Counting...</source>
        <translation>Wird gezählt...</translation>
    </message>
    <message>
        <source>Modified:</source>
        <translation>Geändert:</translation>
    </message>
    <message>
        <source>Owner:</source>
        <translation>Besitzer:</translation>
    </message>
    <message>
        <source>Permissions:</source>
        <translation>Zugriffsrechte:</translation>
    </message>
    <message>
        <source>Items:</source>
        <translation>Elemente:</translation>
    </message>
</context>
<context>
    <name>qx::TMainForm</name>
    <message>
        <source>&amp;Site Book...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Site Book...|Show Site Book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quick Connect...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick Connect...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit|Terminate Quorvin Explorer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Local Explorer...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local Explorer...|Show Local Explorer...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Carrier...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carrier...|Show Carrier...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Online Editor...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online Editor...|Show Online Editor...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global &amp;Options...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GlobalOptions...|Setting Global Options...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents...|Show Help Contents...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Home Page...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home Page...|Visit Quorvin Explorer Home Page...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Write to Developer...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write to Developer...|Write a mail to the developers of Quorvin Explorer...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About...|About Quorvin Explorer...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Quorvin Explorer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h3&gt;%1&lt;/h3&gt;&lt;p&gt;A desktop FTP client: a site book, remote explorers, a transfer queue.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore|Restore Remote Explorer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Minimize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minize|Minize Remote Explorer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished">S&amp;chließen</translation>
    </message>
    <message>
        <source>Close|Close Remote Explorer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished">&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished">&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Main</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote Explorer List</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::TOnlineEditorForm</name>
    <message>
        <source>&amp;Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update|Write the text back to the server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished">S&amp;chließen</translation>
    </message>
    <message>
        <source>Close|Close the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as &amp;Local File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as Local File...|Save the text as a local file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print|Print the text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide|Hide Online Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished">&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished">&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished">&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished">Alles auswählen</translation>
    </message>
    <message>
        <source>&amp;Font...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font...|Choose the editor font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search Again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search Again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to &amp;Line Number...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to Line Number...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Log Panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log Panel|Show or hide the log panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bookmark &amp;%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle Bookmark %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to Bookmark %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Toggle Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go to Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Syntax &amp;Highlighters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Toolbars</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Syntax Highlighter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online Editor Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[%1] is too large for the online editor: at most %2 MB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open [%1]: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be written back; the page stays open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online Editor Close Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as Local File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Go to Line Number]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Enter new line number:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[%1] could not be printed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write [%1]: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write the local file [%1]: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be written back. Choose a local file to keep the text in.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::TOverwriteForm</name>
    <message>
        <source>Transfer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[File Exists]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server holds [%1] already.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[%1] exists already.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There now:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New &amp;name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do the same for the &amp;rest of these files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If &amp;Newer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Res&amp;ume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go on from the end of the shorter file there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only a shorter file there, in a binary transfer, can be resumed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished">Abbrechen</translation>
    </message>
</context>
<context>
    <name>qx::TRemoteExpForm</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Tool</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>Down&amp;load</source>
        <translation>&amp;Herunterladen</translation>
    </message>
    <message>
        <source>Download|Download Selected Items</source>
        <translation>Herunterladen|Ausgewählte Elemente herunterladen</translation>
    </message>
    <message>
        <source>Download &amp;to...</source>
        <translation>Herunterladen &amp;nach...</translation>
    </message>
    <message>
        <source>Download to...|Download Selected Items to...</source>
        <translation>Herunterladen nach...|Ausgewählte Elemente herunterladen nach...</translation>
    </message>
    <message>
        <source>Download in &amp;Queue</source>
        <translation>In &amp;Warteschlange herunterladen</translation>
    </message>
    <message>
        <source>Download in Queue|Download Selected Items in Queue</source>
        <translation>In Warteschlange herunterladen|Ausgewählte Elemente über die Warteschlange herunterladen</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Öffnen...</translation>
    </message>
    <message>
        <source>Open...|Open Selected Item...</source>
        <translation>Öffnen...|Ausgewähltes Element öffnen...</translation>
    </message>
    <message>
        <source>Online &amp;Edit...</source>
        <translation>Online &amp;bearbeiten...</translation>
    </message>
    <message>
        <source>Online Edit...|Online Edit Selected Item...</source>
        <translation>Online bearbeiten...|Ausgewähltes Element online bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print...|Print Selected Item...</source>
        <translation>Drucken...|Ausgewähltes Element drucken...</translation>
    </message>
    <message>
        <source>&amp;Up One Level</source>
        <translation>Eine Ebene nach &amp;oben</translation>
    </message>
    <message>
        <source>Up One Level|Go up One Level</source>
        <translation>Eine Ebene nach oben|Eine Ebene nach oben wechseln</translation>
    </message>
    <message>
        <source>New &amp;Folder...</source>
        <translation>Neuer O&amp;rdner...</translation>
    </message>
    <message>
        <source>New Folder...|Create New Folder...</source>
        <translation>Neuer Ordner...|Neuen Ordner erstellen...</translation>
    </message>
    <message>
        <source>C&amp;hange Folder...</source>
        <translation>Ordner w&amp;echseln...</translation>
    </message>
    <message>
        <source>Change Folder...</source>
        <translation>Ordner wechseln...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete|Delete Selected Items</source>
        <translation>Löschen|Ausgewählte Elemente löschen</translation>
    </message>
    <message>
        <source>Rena&amp;me</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>Rename|Rename Selected Item</source>
        <translation>Umbenennen|Ausgewähltes Element umbenennen</translation>
    </message>
    <message>
        <source>Change Per&amp;mission...</source>
        <translation>&amp;Zugriffsrechte ändern...</translation>
    </message>
    <message>
        <source>Permission...|Change Permissions of Selected Items...</source>
        <translation>Zugriffsrechte...|Zugriffsrechte der ausgewählten Elemente ändern...</translation>
    </message>
    <message>
        <source>&amp;Filtering...</source>
        <translation>&amp;Filtern...</translation>
    </message>
    <message>
        <source>Filtering...|Filtering Files...</source>
        <translation>Filtern...|Dateien filtern...</translation>
    </message>
    <message>
        <source>P&amp;roperties...</source>
        <translation>Ei&amp;genschaften...</translation>
    </message>
    <message>
        <source>Properties...</source>
        <translation>Eigenschaften...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy|Copy Selected Items to Clipboard</source>
        <translation>Kopieren|Ausgewählte Elemente in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste|Paste from Clipboard</source>
        <translation>Einfügen|Aus der Zwischenablage einfügen</translation>
    </message>
    <message>
        <source>Copy &amp;URL</source>
        <translation>&amp;URL kopieren</translation>
    </message>
    <message>
        <source>Copy URL|Copy Selected Item&apos;s URL to Clipboard</source>
        <translation>URL kopieren|Die URL des ausgewählten Elements in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>&amp;Invert Selection</source>
        <translation>Auswahl u&amp;mkehren</translation>
    </message>
    <message>
        <source>Invert Selection</source>
        <translation>Auswahl umkehren</translation>
    </message>
    <message>
        <source>Log &amp;Panel</source>
        <translation>&amp;Protokollbereich</translation>
    </message>
    <message>
        <source>Log Panel|Toggle Log Panel Visibility</source>
        <translation>Protokollbereich|Protokollbereich ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>Refresh|Refresh Folder Tree and File List</source>
        <translation>Aktualisieren|Ordnerbaum und Dateiliste aktualisieren</translation>
    </message>
    <message>
        <source>Server &amp;Information...</source>
        <translation>Server&amp;informationen...</translation>
    </message>
    <message>
        <source>Server Information...|View Server Information Dialog Box</source>
        <translation>Serverinformationen...|Informationen über den Server anzeigen</translation>
    </message>
    <message>
        <source>&amp;Abort</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Abort|Abort Current FTP Command Processing</source>
        <translation>Abbrechen|Den laufenden FTP-Befehl abbrechen</translation>
    </message>
    <message>
        <source>Resuming Transfer</source>
        <translation>Übertragung fortsetzen</translation>
    </message>
    <message>
        <source>Resuming|Resuming Transfer</source>
        <translation>Fortsetzen|Abgebrochene Übertragungen fortsetzen</translation>
    </message>
    <message>
        <source>AS&amp;CII</source>
        <translation>AS&amp;CII</translation>
    </message>
    <message>
        <source>ASCII|ASCII Transfer Type</source>
        <translation>ASCII|Übertragungsart ASCII</translation>
    </message>
    <message>
        <source>&amp;Binary</source>
        <translation>&amp;Binär</translation>
    </message>
    <message>
        <source>Binary|Binary Transfer Type</source>
        <translation>Binär|Übertragungsart Binär</translation>
    </message>
    <message>
        <source>Au&amp;to</source>
        <translation>Au&amp;tomatisch</translation>
    </message>
    <message>
        <source>Auto|Auto Transfer Type</source>
        <translation>Automatisch|Übertragungsart automatisch wählen</translation>
    </message>
    <message>
        <source>Transfer Type</source>
        <translation>Übertragungsart</translation>
    </message>
    <message>
        <source>&amp;Telnet...</source>
        <translation>T&amp;elnet...</translation>
    </message>
    <message>
        <source>Telnet...|Telnet to FTP Server</source>
        <translation>Telnet...|Telnet-Verbindung zum FTP-Server</translation>
    </message>
    <message>
        <source>S&amp;ynchronize...</source>
        <translation>&amp;Synchronisieren...</translation>
    </message>
    <message>
        <source>Synchronize...|Synchronize This Folder with the Local Explorer&apos;s Folder</source>
        <translation>Synchronisieren...|Diesen Ordner mit dem Ordner des Lokalen Explorers synchronisieren</translation>
    </message>
    <message>
        <source>Compare &amp;Folders</source>
        <translation>&amp;Ordner vergleichen</translation>
    </message>
    <message>
        <source>Compare Folders|Compare the Folder with the Local Explorer&apos;s Folder</source>
        <translation>Ordner vergleichen|Den Ordner mit dem Ordner des Lokalen Explorers vergleichen</translation>
    </message>
    <message>
        <source>Only &amp;Differences</source>
        <translation>Nur &amp;Unterschiede</translation>
    </message>
    <message>
        <source>Only Differences|Show Only the Items that Differ</source>
        <translation>Nur Unterschiede|Nur die Elemente zeigen, die sich unterscheiden</translation>
    </message>
    <message>
        <source>Remote Explorer</source>
        <translation>Server-Explorer</translation>
    </message>
    <message>
        <source>[Filtering]</source>
        <translation>[Filtern]</translation>
    </message>
    <message>
        <source>Filter:</source>
        <translation>Filter:</translation>
    </message>
    <message>
        <source>Server Supports Resuming Transfer</source>
        <translation>Der Server kann Übertragungen fortsetzen</translation>
    </message>
    <message>
        <source>Server Does not Support Resuming Transfer</source>
        <translation>Der Server kann Übertragungen nicht fortsetzen</translation>
    </message>
    <message>
        <source>Remote Explorer Error</source>
        <translation>Server-Explorer – Fehler</translation>
    </message>
    <message>
        <source>Cannot start the telnet program [%1]. Choose another one in the global options.</source>
        <translation>Das Telnet-Programm [%1] kann nicht gestartet werden. Wählen Sie in den allgemeinen Einstellungen ein anderes.</translation>
    </message>
    <message>
        <source>Select Local Folder to Compare</source>
        <translation>Lokalen Ordner zum Vergleichen wählen</translation>
    </message>
    <message>
        <source>Cannot read the folder [%1].</source>
        <translation>Der Ordner [%1] kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Skipped [%1]: not a name a local file can have.</source>
        <translation>[%1] übersprungen: Kein zulässiger Name für eine lokale Datei.</translation>
    </message>
    <message>
        <source>Select Destination Folder</source>
        <translation>Zielordner wählen</translation>
    </message>
    <message>
        <source>Download in Queue</source>
        <translation>Über die Warteschlange herunterladen</translation>
    </message>
    <message>
        <source>Cannot download, busy on processing.</source>
        <translation>Herunterladen nicht möglich, ein anderer Vorgang läuft noch.</translation>
    </message>
    <message>
        <source>Cannot download [%1]: not a name a local file can have.</source>
        <translation>[%1] kann nicht heruntergeladen werden: Kein zulässiger Name für eine lokale Datei.</translation>
    </message>
    <message>
        <source>No program of this desktop opens [%1].</source>
        <translation>Kein Programm dieser Arbeitsumgebung öffnet [%1].</translation>
    </message>
    <message>
        <source>Cannot print [%1]: the print spooler (lp) cannot be started: %2</source>
        <translation>[%1] kann nicht gedruckt werden: Der Druckdienst (lp) kann nicht gestartet werden: %2</translation>
    </message>
    <message>
        <source>Cannot print [%1]: %2</source>
        <translation>[%1] kann nicht gedruckt werden: %2</translation>
    </message>
    <message>
        <source>lp failed</source>
        <translation>lp ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>[%1] is too large for the online editor: %2, at most %3.</source>
        <translation>[%1] ist zu groß für den Online-Editor: %2, höchstens %3.</translation>
    </message>
    <message>
        <source>[New Folder]</source>
        <translation>[Neuer Ordner]</translation>
    </message>
    <message>
        <source>Folder Name:</source>
        <translation>Ordnername:</translation>
    </message>
    <message>
        <source>[%1] is not a name a folder can have.</source>
        <translation>[%1] ist kein zulässiger Ordnername.</translation>
    </message>
    <message>
        <source>[Change Folder]</source>
        <translation>[Ordner wechseln]</translation>
    </message>
    <message>
        <source>Remote Explorer Delete Error</source>
        <translation>Server-Explorer – Fehler beim Löschen</translation>
    </message>
    <message>
        <source>Cannot delete folder link.</source>
        <translation>Eine Verknüpfung auf einen Ordner kann nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Remote Explorer Delete Confirm</source>
        <translation>Server-Explorer – Löschen bestätigen</translation>
    </message>
    <message>
        <source>Are you sure to delete the folder [%1]?</source>
        <translation>Möchten Sie den Ordner [%1] wirklich löschen?</translation>
    </message>
    <message numerus="yes">
        <source>Are you sure to delete %n selected items?</source>
        <translation>
            <numerusform>Möchten Sie das ausgewählte Element wirklich löschen?</numerusform>
            <numerusform>Möchten Sie die %n ausgewählten Elemente wirklich löschen?</numerusform>
        </translation>
    </message>
    <message>
        <source>[%1] is not a name a file can have.</source>
        <translation>[%1] ist kein zulässiger Dateiname.</translation>
    </message>
    <message>
        <source>Pellucor&apos;s Remote Explorer %1</source>
        <translation>Pellucor&apos;s Server-Explorer %1</translation>
    </message>
    <message>
        <source>[Authenticate]</source>
        <translation>[Anmeldung]</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>The server did not accept the connection.</source>
        <translation>Der Server hat die Verbindung nicht angenommen.</translation>
    </message>
    <message>
        <source>Cannot connect to [%1]:
%2</source>
        <translation>Keine Verbindung zu [%1] möglich:
%2</translation>
    </message>
    <message>
        <source>Synchronize with the local folder</source>
        <translation>Mit dem lokalen Ordner synchronisieren</translation>
    </message>
</context>
<context>
    <name>qx::TRemotePropertiesForm</name>
    <message>
        <source>Not a link</source>
        <translation>Keine Verknüpfung</translation>
    </message>
    <message>
        <source>Remote Explorer</source>
        <translation>Server-Explorer</translation>
    </message>
    <message>
        <source>[Properties]</source>
        <translation>[Eigenschaften]</translation>
    </message>
    <message>
        <source>Path:</source>
        <translation>Pfad:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Permission:</source>
        <translation>Zugriffsrechte:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Link to:</source>
        <translation>Verknüpft mit:</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
</context>
<context>
    <name>qx::TServerInfoForm</name>
    <message>
        <source>Remote Explorer</source>
        <translation>Server-Explorer</translation>
    </message>
    <message>
        <source>[Server Information]</source>
        <translation>[Serverinformationen]</translation>
    </message>
    <message>
        <source>Host Name:</source>
        <translation>Hostname:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>IP-Adresse:</translation>
    </message>
    <message>
        <source>Server Type:</source>
        <translation>Servertyp:</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Features</source>
        <translation>Funktionen</translation>
    </message>
    <message>
        <source>The server did not answer FEAT.</source>
        <translation>Der Server hat auf FEAT nicht geantwortet.</translation>
    </message>
    <message>
        <source>The server offers no features beyond the basic commands.</source>
        <translation>Der Server bietet keine Funktionen über die Grundbefehle hinaus.</translation>
    </message>
</context>
<context>
    <name>qx::TSiteBookForm</name>
    <message>
        <source>Pellucor&apos;s Site Book </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Connect...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect...|Connect to Selected Site...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quick Connect...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick Connect...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New &amp;Folder</source>
        <translation type="unfinished">Neuer O&amp;rdner</translation>
    </message>
    <message>
        <source>New Folder|Make New Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New &amp;Site...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Site...|Make New Site...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished">&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete|Delete Selected Node</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rena&amp;me</source>
        <translation type="unfinished">&amp;Umbenennen</translation>
    </message>
    <message>
        <source>Rename|Rename Selected Node</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;roperties...</source>
        <translation type="unfinished">Ei&amp;genschaften...</translation>
    </message>
    <message>
        <source>Properties...|View Selected Site Properties...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide|Hide Site Book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ping...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ping...|Ping to Selected Site...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Site Book Ping Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Telnet...</source>
        <translation type="unfinished">T&amp;elnet...</translation>
    </message>
    <message>
        <source>Telnet...|Telnet to Selected Site...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Site Book Telnet Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import Sites...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Sites...|Import Sites of Another Client or of a Site Book File into the Selected Folder...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Site Book...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Site Book...|Write the Site Book to a File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Site</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tool</source>
        <translation type="unfinished">E&amp;xtras</translation>
    </message>
    <message>
        <source>Site Book Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Site Book [%1]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Quick Connect]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[New Site]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Site Book Delete Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to delete [%1]?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Site lists (*.xml *.ini *.sites);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Site Book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Sites</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left out:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds no site to add.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Add %n site(s) to [%1]?</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Sites:</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n site(s) added.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>The site book was written to %1, without passwords.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::TSitePropertiesForm</name>
    <message>
        <source>Pellucor&apos;s Site Book [Site Properties]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Site Book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Site Properties]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished">Allgemein</translation>
    </message>
    <message>
        <source>Login Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location:</source>
        <translation type="unfinished">Ort:</translation>
    </message>
    <message>
        <source>A&amp;nonymous Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ssh&apos;s own choice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B&amp;rowse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use the SSH &amp;agent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pro&amp;tocol:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Host Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Encryption:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;User Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No keyring is running: the password is kept in the settings file, readable only by you.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Key File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Initial Folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume &amp;Transfer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Passive Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use &amp;machine listings (MLSD) when the server offers them</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Upload under a temporary name (off for servers that refuse renames)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login &amp;Retry:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Relogin &amp;Delay(sec):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time &amp;zone offset (LIST):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Connect...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished">Abbrechen</translation>
    </message>
    <message>
        <source>Key File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto: UTF-8 when the server offers it, else the set below</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File name &amp;encoding:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto without UTF-8 &amp;from the server:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use the &amp;global speed limits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed Limits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An idle connection sends a keep-alive after so many seconds without a command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep-alive interval:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qx::TSshQuestionForm</name>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Trust</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The host key of %1 is not known yet: ssh cannot tell whether this is the server you mean.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fingerprint:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trust it only when you know that this is the server&apos;s key (compare the fingerprint with the one its administrator gave you). Trust adds it to your known hosts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished">Abbrechen</translation>
    </message>
</context>
<context>
    <name>qx::TSyncController</name>
    <message>
        <source>Synchronize</source>
        <translation>Synchronisieren</translation>
    </message>
    <message>
        <source>Listing %1...</source>
        <translation>%1 wird gelesen...</translation>
    </message>
    <message>
        <source>The folders could not be listed: %1</source>
        <translation>Die Ordner konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The record of this synchronization could not be kept: %1</source>
        <translation>Der Stand dieser Synchronisierung konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Synchronization of %1 with %2: %3 of %4 transfers got through, %5 deleted.</source>
        <translation>Synchronisierung von %1 mit %2: %3 von %4 Übertragungen erfolgreich, %5 gelöscht.</translation>
    </message>
    <message numerus="yes">
        <source>
... and %n more.</source>
        <translation>
            <numerusform>
... und %n weiteres.</numerusform>
            <numerusform>
... und %n weitere.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>qx::TSyncPlanModel</name>
    <message>
        <source>%1 (%2 if ticked)</source>
        <translation>%1 (%2, wenn angehakt)</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>%1, %2, %3, %4, %5, %6; %7 bytes</source>
        <translation>%1, %2, %3, %4, %5, %6; %7 Bytes</translation>
    </message>
    <message numerus="yes">
        <source>%n upload(s)</source>
        <translation>
            <numerusform>%n zum Hochladen</numerusform>
            <numerusform>%n zum Hochladen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n download(s)</source>
        <translation>
            <numerusform>%n zum Herunterladen</numerusform>
            <numerusform>%n zum Herunterladen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s) to make</source>
        <translation>
            <numerusform>%n neuer Ordner</numerusform>
            <numerusform>%n neue Ordner</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n delete(s)</source>
        <translation>
            <numerusform>%n zum Löschen</numerusform>
            <numerusform>%n zum Löschen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n skipped</source>
        <translation>
            <numerusform>%n übersprungen</numerusform>
            <numerusform>%n übersprungen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n conflict(s)</source>
        <translation>
            <numerusform>%n Konflikt</numerusform>
            <numerusform>%n Konflikte</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>qx::TSynchronizeForm</name>
    <message>
        <source>Synchronize</source>
        <translation>Synchronisieren</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>&amp;Upload: make the remote folder like the local one</source>
        <translation>&amp;Hochladen: den Ordner auf dem Server an den lokalen angleichen</translation>
    </message>
    <message>
        <source>&amp;Download: make the local folder like the remote one</source>
        <translation>He&amp;runterladen: den lokalen Ordner an den auf dem Server angleichen</translation>
    </message>
    <message>
        <source>&amp;Both ways: newer files go to the other side</source>
        <translation>&amp;Beide Richtungen: neuere Dateien gehen auf die andere Seite</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Time and size</source>
        <translation>Zeit und Größe</translation>
    </message>
    <message>
        <source>Presence only</source>
        <translation>Nur Vorhandensein</translation>
    </message>
    <message>
        <source>&amp;Compare by:</source>
        <translation>&amp;Vergleichen nach:</translation>
    </message>
    <message>
        <source>every file (for example *.html;*.css)</source>
        <translation>alle Dateien (zum Beispiel *.html;*.css)</translation>
    </message>
    <message>
        <source>&amp;Include files:</source>
        <translation>&amp;Dateien einschließen:</translation>
    </message>
    <message>
        <source>nothing (for example *.tmp;.git)</source>
        <translation>nichts (zum Beispiel *.tmp;.git)</translation>
    </message>
    <message>
        <source>E&amp;xclude:</source>
        <translation>&amp;Ausschließen:</translation>
    </message>
    <message>
        <source>Include &amp;subfolders</source>
        <translation>&amp;Unterordner einbeziehen</translation>
    </message>
    <message>
        <source>D&amp;elete files that are not in the source</source>
        <translation>Dateien &amp;löschen, die nicht in der Quelle sind</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>V&amp;orschau</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>&amp;Keine auswählen</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>Local folder: %1
Remote folder: %2</source>
        <translation>Lokaler Ordner: %1
Ordner auf dem Server: %2</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <source>Comparing the folders...</source>
        <translation>Die Ordner werden verglichen...</translation>
    </message>
    <message>
        <source>These folders could not be listed and are left alone: %1</source>
        <translation>Diese Ordner konnten nicht gelesen werden und bleiben unverändert: %1</translation>
    </message>
    <message>
        <source>local %1</source>
        <translation>lokal %1</translation>
    </message>
    <message>
        <source>remote %1</source>
        <translation>auf dem Server %1</translation>
    </message>
    <message numerus="yes">
        <source>Delete %n files and folders that are not in the source?</source>
        <translation>
            <numerusform>%n Eintrag löschen, der nicht in der Quelle ist?</numerusform>
            <numerusform>%n Dateien und Ordner löschen, die nicht in der Quelle sind?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>
... and %n more</source>
        <translation>
            <numerusform>
... und %n weiteres</numerusform>
            <numerusform>
... und %n weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>qx::TTransferTypeRadioGroup</name>
    <message>
        <source>Transfer Type</source>
        <translation type="unfinished">Übertragungsart</translation>
    </message>
    <message>
        <source>&amp;ASCII</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Binary</source>
        <translation type="unfinished">&amp;Binär</translation>
    </message>
    <message>
        <source>A&amp;uto</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
