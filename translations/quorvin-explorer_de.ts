<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>qx::AddressArgument</name>
    <message>
        <source>Give one address ftp://[user[:password]@]host[:port]/path (ftps:// for implicit TLS, sftp:// over SSH), not %1 arguments.</source>
        <translation>Geben Sie eine Adresse ftp://[benutzer[:passwort]@]host[:port]/pfad an (ftps:// für implizites TLS, sftp:// über SSH), nicht %1 Argumente.</translation>
    </message>
    <message>
        <source>Cannot open [%1]: %2.</source>
        <translation>[%1] kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>Open Address Error</source>
        <translation>Fehler beim Öffnen der Adresse</translation>
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
    <message>
        <source>the URL must start with ftp:// or ftps://, or sftp:// for SFTP</source>
        <translation>die URL muss mit ftp:// oder ftps:// beginnen, für SFTP mit sftp://</translation>
    </message>
    <message>
        <source>the user name in the URL is empty or badly escaped</source>
        <translation>der Benutzername in der URL ist leer oder falsch maskiert</translation>
    </message>
    <message>
        <source>the password in the URL is badly escaped</source>
        <translation>das Passwort in der URL ist falsch maskiert</translation>
    </message>
    <message>
        <source>the IPv6 address in the URL is not in the form [address] or [address]:port</source>
        <translation>die IPv6-Adresse in der URL hat nicht die Form [adresse] oder [adresse]:port</translation>
    </message>
    <message>
        <source>the port in the URL is not a number from 1 to 65535</source>
        <translation>der Port in der URL ist keine Zahl von 1 bis 65535</translation>
    </message>
    <message>
        <source>the URL names no host</source>
        <translation>die URL nennt keinen Host</translation>
    </message>
    <message>
        <source>the path in the URL is badly escaped</source>
        <translation>der Pfad in der URL ist falsch maskiert</translation>
    </message>
    <message>
        <source>the URL holds a CR, LF or NUL character (%0D, %0A or %00), which no FTP command can carry</source>
        <translation>die URL enthält ein CR-, LF- oder NUL-Zeichen (%0D, %0A oder %00), das kein FTP-Befehl übertragen kann</translation>
    </message>
    <message>
        <source>500 Refused to send a command that holds a CR, LF or NUL character.</source>
        <translation>500 Ein Befehl mit einem CR-, LF- oder NUL-Zeichen wird nicht gesendet.</translation>
    </message>
    <message>
        <source>426 Operation aborted.</source>
        <translation>426 Vorgang abgebrochen.</translation>
    </message>
    <message>
        <source>421 Connection closed by the server.</source>
        <translation>421 Die Verbindung wurde vom Server geschlossen.</translation>
    </message>
    <message>
        <source>426 Timeout</source>
        <translation>426 Zeitüberschreitung</translation>
    </message>
    <message>
        <source>426 Transfer aborted by the application.</source>
        <translation>426 Übertragung vom Programm abgebrochen.</translation>
    </message>
    <message>
        <source>426 Transmit cancelled by application</source>
        <translation>426 Senden vom Programm abgebrochen</translation>
    </message>
    <message>
        <source>426 Data connection closed before the whole file was sent.</source>
        <translation>426 Die Datenverbindung wurde geschlossen, bevor die ganze Datei gesendet war.</translation>
    </message>
    <message>
        <source>certificate has expired</source>
        <translation>das Zertifikat ist abgelaufen</translation>
    </message>
    <message>
        <source>certificate is not yet valid</source>
        <translation>das Zertifikat ist noch nicht gültig</translation>
    </message>
    <message>
        <source>hostname mismatch</source>
        <translation>der Hostname stimmt nicht überein</translation>
    </message>
    <message>
        <source>IP address mismatch</source>
        <translation>die IP-Adresse stimmt nicht überein</translation>
    </message>
    <message>
        <source>self-signed certificate</source>
        <translation>selbst signiertes Zertifikat</translation>
    </message>
    <message>
        <source>self-signed certificate in certificate chain</source>
        <translation>selbst signiertes Zertifikat in der Zertifikatskette</translation>
    </message>
    <message>
        <source>unable to get issuer certificate</source>
        <translation>das Zertifikat des Ausstellers ist nicht erhältlich</translation>
    </message>
    <message>
        <source>unable to get local issuer certificate</source>
        <translation>der Aussteller ist unbekannt (sein Zertifikat ist auf diesem Rechner nicht vorhanden)</translation>
    </message>
    <message>
        <source>unable to verify the first certificate</source>
        <translation>das erste Zertifikat kann nicht geprüft werden</translation>
    </message>
    <message>
        <source>certificate revoked</source>
        <translation>das Zertifikat wurde widerrufen</translation>
    </message>
    <message>
        <source>certificate signature failure</source>
        <translation>die Signatur des Zertifikats ist ungültig</translation>
    </message>
    <message>
        <source>unsupported certificate purpose</source>
        <translation>das Zertifikat ist für diesen Zweck nicht vorgesehen</translation>
    </message>
    <message>
        <source>certificate not trusted</source>
        <translation>dem Zertifikat wird nicht vertraut</translation>
    </message>
    <message>
        <source>certificate rejected</source>
        <translation>das Zertifikat wird abgelehnt</translation>
    </message>
    <message>
        <source>the server sent no certificate</source>
        <translation>der Server hat kein Zertifikat gesendet</translation>
    </message>
    <message>
        <source>Cannot paste into [%1]: it is not a folder.</source>
        <translation>In [%1] kann nicht eingefügt werden: Es ist kein Ordner.</translation>
    </message>
    <message>
        <source>Cannot paste [%1] into itself.</source>
        <translation>[%1] kann nicht in sich selbst eingefügt werden.</translation>
    </message>
    <message>
        <source>Cannot move [%1]: %2.</source>
        <translation>[%1] kann nicht verschoben werden: %2.</translation>
    </message>
    <message>
        <source>Cannot copy [%1]: %2.</source>
        <translation>[%1] kann nicht kopiert werden: %2.</translation>
    </message>
    <message>
        <source>it does not exist</source>
        <translation>es existiert nicht</translation>
    </message>
    <message>
        <source>copied, but the original cannot be removed: %1</source>
        <translation>kopiert, aber das Original kann nicht entfernt werden: %1</translation>
    </message>
    <message>
        <source>a file of that name is in the way</source>
        <translation>eine Datei dieses Namens ist im Weg</translation>
    </message>
    <message>
        <source>Invalid name</source>
        <translation>Ungültiger Name</translation>
    </message>
    <message>
        <source>The name is already taken</source>
        <translation>Der Name ist bereits vergeben</translation>
    </message>
    <message>
        <source>The root cannot be deleted</source>
        <translation>Das Wurzelverzeichnis kann nicht gelöscht werden</translation>
    </message>
    <message>
        <source>There is no trash on the file system of this item</source>
        <translation>Auf dem Dateisystem dieses Eintrags gibt es keinen Papierkorb</translation>
    </message>
    <message>
        <source>The trash holds too many items of this name</source>
        <translation>Der Papierkorb enthält zu viele Einträge dieses Namens</translation>
    </message>
    <message>
        <source>cannot read the %1 %2: %3</source>
        <translation>die %1 %2 kann nicht gelesen werden: %3</translation>
    </message>
    <message>
        <source>cannot read the %1 %2: %3.
The program starts with %4. The file is left as it is, and changes made in this session are not saved.</source>
        <translation>die %1 %2 kann nicht gelesen werden: %3.
Das Programm beginnt mit %4. Die Datei bleibt, wie sie ist, und Änderungen in dieser Sitzung werden nicht gespeichert.</translation>
    </message>
    <message>
        <source>the %1 %2 is damaged (line %3: %4)</source>
        <translation>die %1 %2 ist beschädigt (Zeile %3: %4)</translation>
    </message>
    <message>
        <source>the %1 %2 is damaged (line %3: %4).
It has been moved to %5. The program starts with %6.</source>
        <translation>die %1 %2 ist beschädigt (Zeile %3: %4).
Sie wurde nach %5 verschoben. Das Programm beginnt mit %6.</translation>
    </message>
    <message>
        <source>the %1 %2 is damaged (line %3: %4).
It cannot be moved aside (%5). The program starts with %6. The file is left as it is, and changes made in this session are not saved.</source>
        <translation>die %1 %2 ist beschädigt (Zeile %3: %4).
Sie kann nicht beiseitegelegt werden (%5). Das Programm beginnt mit %6. Die Datei bleibt, wie sie ist, und Änderungen in dieser Sitzung werden nicht gespeichert.</translation>
    </message>
    <message>
        <source>settings file</source>
        <translation>Einstellungsdatei</translation>
    </message>
    <message>
        <source>default settings</source>
        <translation>den Standardeinstellungen</translation>
    </message>
    <message>
        <source>500 The item has no job for its direction.</source>
        <translation>500 Für die Richtung dieses Eintrags gibt es keinen Auftrag.</translation>
    </message>
    <message>
        <source>transfer queue file</source>
        <translation>Warteschlangendatei</translation>
    </message>
    <message>
        <source>an empty transfer queue</source>
        <translation>einer leeren Warteschlange</translation>
    </message>
    <message>
        <source>Destination folder is same with source folder</source>
        <translation>Zielordner und Quellordner sind derselbe Ordner</translation>
    </message>
    <message>
        <source>Destination folder is sub-folder of source folder</source>
        <translation>Der Zielordner ist ein Unterordner des Quellordners</translation>
    </message>
    <message>
        <source>! Login canceled.</source>
        <translation>! Anmeldung abgebrochen.</translation>
    </message>
    <message>
        <source>500 Login failed: no login attempt is allowed.</source>
        <translation>500 Anmeldung fehlgeschlagen: Es ist kein Anmeldeversuch erlaubt.</translation>
    </message>
    <message>
        <source>! Operation aborted.</source>
        <translation>! Vorgang abgebrochen.</translation>
    </message>
    <message>
        <source>Site Book Create Error</source>
        <translation>Serverliste – Fehler beim Anlegen</translation>
    </message>
    <message>
        <source>Site Book Rename Error</source>
        <translation>Serverliste – Fehler beim Umbenennen</translation>
    </message>
    <message>
        <source>Site Book Delete Error</source>
        <translation>Serverliste – Fehler beim Löschen</translation>
    </message>
    <message>
        <source>Invalid name [%1]. A name cannot be empty or contain &quot;\&quot;.</source>
        <translation>Ungültiger Name [%1]. Ein Name darf nicht leer sein und kein &quot;\&quot; enthalten.</translation>
    </message>
    <message>
        <source>Cannot open key for [%1].</source>
        <translation>Der Schlüssel für [%1] kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>A site is named [%1] already.</source>
        <translation>Es gibt bereits einen Server namens [%1].</translation>
    </message>
    <message>
        <source>Cannot create key for [%1].</source>
        <translation>Der Schlüssel für [%1] kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>New name [%1] already exists! Use another name.</source>
        <translation>Der Name [%1] ist bereits vergeben! Wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>Cannot rename from [%1] to [%2].</source>
        <translation>[%1] kann nicht in [%2] umbenannt werden.</translation>
    </message>
    <message>
        <source>New name [%1] already exists.</source>
        <translation>Der Name [%1] ist bereits vergeben.</translation>
    </message>
    <message>
        <source>Cannot delete [%1].</source>
        <translation>[%1] kann nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>site book file</source>
        <translation>Serverlisten-Datei</translation>
    </message>
    <message>
        <source>no sites</source>
        <translation>einer leeren Serverliste</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>not a site list (not a regular file of at most 16 MiB)</source>
        <translation>keine Serverliste (keine normale Datei von höchstens 16 MiB)</translation>
    </message>
    <message>
        <source>[%1]: a name is empty or holds &quot;\&quot;; left out</source>
        <translation>[%1]: ein Name ist leer oder enthält &quot;\&quot;; ausgelassen</translation>
    </message>
    <message>
        <source>[%1]: its port is not a port number; left out</source>
        <translation>[%1]: der Port ist keine Portnummer; ausgelassen</translation>
    </message>
    <message>
        <source>[%1]: a site of the book has the name of its folder; left out</source>
        <translation>[%1]: ein Server der Serverliste trägt den Namen seines Ordners; ausgelassen</translation>
    </message>
    <message>
        <source>[%1]: the site book has this name already; left out</source>
        <translation>[%1]: die Serverliste hat diesen Namen bereits; ausgelassen</translation>
    </message>
    <message>
        <source>[%1]: %2; left out</source>
        <translation>[%1]: %2; ausgelassen</translation>
    </message>
    <message>
        <source>its folder cannot be made</source>
        <translation>sein Ordner kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation>kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>%1: it names no host</source>
        <translation>%1: nennt keinen Host</translation>
    </message>
    <message>
        <source>%1: its protocol (%2) is not one this program speaks</source>
        <translation>%1: das Protokoll (%2) beherrscht dieses Programm nicht</translation>
    </message>
    <message>
        <source>%1: its remote folder could not be read and was left out</source>
        <translation>%1: der Ordner auf dem Server war nicht lesbar und wurde ausgelassen</translation>
    </message>
    <message>
        <source>%1: its password could not be decoded and was left out</source>
        <translation>%1: das Passwort konnte nicht dekodiert werden und wurde ausgelassen</translation>
    </message>
    <message>
        <source>%1: its password is kept under a master password and was left out</source>
        <translation>%1: das Passwort ist mit einem Hauptpasswort geschützt und wurde ausgelassen</translation>
    </message>
    <message>
        <source>the XML file is no site manager file (its root is &lt;%1&gt;)</source>
        <translation>die XML-Datei ist keine Serververwaltungsdatei (ihr Wurzelelement ist &lt;%1&gt;)</translation>
    </message>
    <message>
        <source>%1: %2 is not a protocol this program speaks</source>
        <translation>%1: %2 ist kein Protokoll, das dieses Programm beherrscht</translation>
    </message>
    <message>
        <source>%1: its protocol (%2) is not a protocol this program speaks</source>
        <translation>%1: das Protokoll (%2) beherrscht dieses Programm nicht</translation>
    </message>
    <message>
        <source>%1: its stored password was not imported; enter it in the site&apos;s properties</source>
        <translation>%1: das gespeicherte Passwort wurde nicht übernommen; geben Sie es in den Eigenschaften des Servers ein</translation>
    </message>
    <message>
        <source>line %1: a group name without its &quot;]&quot;</source>
        <translation>Zeile %1: ein Gruppenname ohne sein &quot;]&quot;</translation>
    </message>
    <message>
        <source>line %1: neither a group nor a name=value line</source>
        <translation>Zeile %1: weder eine Gruppe noch eine Zeile name=wert</translation>
    </message>
    <message>
        <source>the file is neither a site manager XML file nor an INI file with [Sessions\...] groups</source>
        <translation>die Datei ist weder eine XML-Datei einer Serververwaltung noch eine INI-Datei mit Gruppen [Sessions\...]</translation>
    </message>
</context>
<context>
    <name>qx::ExternalLink</name>
    <message>
        <source>Quorvin Explorer Error</source>
        <translation>Quorvin Explorer – Fehler</translation>
    </message>
    <message>
        <source>No mail program could be started to write to [%1]. Write to this address from the mail program you use.</source>
        <translation>Es konnte kein E-Mail-Programm gestartet werden, um an [%1] zu schreiben. Schreiben Sie an diese Adresse aus dem E-Mail-Programm, das Sie verwenden.</translation>
    </message>
    <message>
        <source>No web browser could be started to open [%1]. Open this address in the browser you use.</source>
        <translation>Es konnte kein Webbrowser gestartet werden, um [%1] zu öffnen. Öffnen Sie diese Adresse in dem Browser, den Sie verwenden.</translation>
    </message>
</context>
<context>
    <name>qx::ProgramStart</name>
    <message>
        <source>Quorvin Explorer cannot start: %1</source>
        <translation>Quorvin Explorer kann nicht starten: %1</translation>
    </message>
    <message>
        <source>Quorvin Explorer Settings Error</source>
        <translation>Quorvin Explorer – Fehler in den Einstellungen</translation>
    </message>
</context>
<context>
    <name>qx::SpeedLimitGroup</name>
    <message>
        <source> KiB/s</source>
        <translation> KiB/s</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Do&amp;wnloads:</source>
        <translation>&amp;Herunterladen:</translation>
    </message>
    <message>
        <source>U&amp;ploads:</source>
        <translation>Hoch&amp;laden:</translation>
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
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>[Certificate Not Verified]</source>
        <translation>[Zertifikat nicht geprüft]</translation>
    </message>
    <message>
        <source>Server Certificate</source>
        <translation>Server-Zertifikat</translation>
    </message>
    <message>
        <source>Warning: %1 port %2 shows another certificate than the one you trusted before. Someone may be listening in between, or the server got a new certificate.</source>
        <translation>Warnung: %1 Port %2 zeigt ein anderes Zertifikat als das, dem Sie zuvor vertraut haben. Jemand könnte die Verbindung abhören, oder der Server hat ein neues Zertifikat erhalten.</translation>
    </message>
    <message>
        <source>The certificate of %1 (port %2) cannot be verified: %3.</source>
        <translation>Das Zertifikat von %1 (Port %2) kann nicht geprüft werden: %3.</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Inhaber:</translation>
    </message>
    <message>
        <source>Issuer:</source>
        <translation>Aussteller:</translation>
    </message>
    <message>
        <source>Valid from:</source>
        <translation>Gültig ab:</translation>
    </message>
    <message>
        <source>Valid until:</source>
        <translation>Gültig bis:</translation>
    </message>
    <message>
        <source>SHA-256:</source>
        <translation>SHA-256:</translation>
    </message>
    <message>
        <source>Trusted before:</source>
        <translation>Bisher vertraut:</translation>
    </message>
    <message>
        <source>Trust it only when you know that this is the server&apos;s certificate (compare the fingerprint with the one its administrator gave you).</source>
        <translation>Vertrauen Sie ihm nur, wenn Sie wissen, dass es das Zertifikat des Servers ist (vergleichen Sie den Fingerabdruck mit dem, den Ihnen sein Administrator genannt hat).</translation>
    </message>
    <message>
        <source>Trust &amp;Once</source>
        <translation>&amp;Einmal vertrauen</translation>
    </message>
    <message>
        <source>Trust &amp;Always</source>
        <translation>&amp;Immer vertrauen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
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
    <name>qx::TEditorPage</name>
    <message>
        <source>the file could not be read</source>
        <translation>die Datei konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>die Datei konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>qx::TEditorPrinter</name>
    <message>
        <source>Page Number: %1 Printing Date/Time: %2</source>
        <translation>Seite: %1 Gedruckt am: %2</translation>
    </message>
</context>
<context>
    <name>qx::TExplorerShell</name>
    <message>
        <source>Folder Tree</source>
        <translation>Ordnerbaum</translation>
    </message>
    <message>
        <source>File List</source>
        <translation>Dateiliste</translation>
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
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <source>View Style</source>
        <translation>Ansichtsstil</translation>
    </message>
    <message>
        <source>View Style|View File List with</source>
        <translation>Ansichtsstil|Dateiliste anzeigen als</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>File Toolbar|Toggle File Toolbar Visibility</source>
        <translation>Werkzeugleiste Datei|Werkzeugleiste Datei ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Edit Toolbar|Toggle Edit Toolbar Visibility</source>
        <translation>Werkzeugleiste Bearbeiten|Werkzeugleiste Bearbeiten ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>View Toolbar|Toggle View Toolbar Visibility</source>
        <translation>Werkzeugleiste Ansicht|Werkzeugleiste Ansicht ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Tool</source>
        <translation>&amp;Extras</translation>
    </message>
    <message>
        <source>Tool Toolbar|Toggle Tool Toolbar Visibility</source>
        <translation>Werkzeugleiste Extras|Werkzeugleiste Extras ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Lar&amp;ge Icons</source>
        <translation>&amp;Große Symbole</translation>
    </message>
    <message>
        <source>Large Icons|View File List with Large Icons Style</source>
        <translation>Große Symbole|Dateiliste mit großen Symbolen anzeigen</translation>
    </message>
    <message>
        <source>S&amp;mall Icons</source>
        <translation>&amp;Kleine Symbole</translation>
    </message>
    <message>
        <source>Small Icons|View File List with Small Icons Style</source>
        <translation>Kleine Symbole|Dateiliste mit kleinen Symbolen anzeigen</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>List|View File List with List Style</source>
        <translation>Liste|Dateiliste als Liste anzeigen</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>Details|View File List with Details Style</source>
        <translation>Details|Dateiliste mit Details anzeigen</translation>
    </message>
    <message>
        <source>by &amp;Name</source>
        <translation>nach &amp;Name</translation>
    </message>
    <message>
        <source>Name|Arrange Icons by Name</source>
        <translation>Name|Symbole nach Name anordnen</translation>
    </message>
    <message>
        <source>by &amp;Type</source>
        <translation>nach &amp;Typ</translation>
    </message>
    <message>
        <source>Type|Arrange Icons by Type</source>
        <translation>Typ|Symbole nach Typ anordnen</translation>
    </message>
    <message>
        <source>by Si&amp;ze</source>
        <translation>nach &amp;Größe</translation>
    </message>
    <message>
        <source>Size|Arrange Icons by Size</source>
        <translation>Größe|Symbole nach Größe anordnen</translation>
    </message>
    <message>
        <source>by &amp;Date</source>
        <translation>nach &amp;Datum</translation>
    </message>
    <message>
        <source>Date|Arrange Icons by Date</source>
        <translation>Datum|Symbole nach Datum anordnen</translation>
    </message>
    <message>
        <source>by &amp;Permission</source>
        <translation>nach &amp;Rechten</translation>
    </message>
    <message>
        <source>Permission|Arrange Icons by Permission</source>
        <translation>Rechte|Symbole nach Zugriffsrechten anordnen</translation>
    </message>
    <message>
        <source>File Toolbar</source>
        <translation>Werkzeugleiste Datei</translation>
    </message>
    <message>
        <source>Edit Toolbar</source>
        <translation>Werkzeugleiste Bearbeiten</translation>
    </message>
    <message>
        <source>View Toolbar</source>
        <translation>Werkzeugleiste Ansicht</translation>
    </message>
    <message>
        <source>Tool Toolbar</source>
        <translation>Werkzeugleiste Extras</translation>
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
        <translation>[Text suchen]</translation>
    </message>
    <message>
        <source>[Replace Text]</source>
        <translation>[Text ersetzen]</translation>
    </message>
    <message>
        <source>&amp;Text to find:</source>
        <translation>&amp;Suchen nach:</translation>
    </message>
    <message>
        <source>&amp;Replace with:</source>
        <translation>&amp;Ersetzen durch:</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>&amp;Case sensitive</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>&amp;Whole words only</source>
        <translation>&amp;Nur ganze Wörter</translation>
    </message>
    <message>
        <source>&amp;Prompt on replace</source>
        <translation>Vor dem Ersetzen &amp;fragen</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>Forwar&amp;d</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>&amp;Backward</source>
        <translation>&amp;Rückwärts</translation>
    </message>
    <message>
        <source>Scope</source>
        <translation>Bereich</translation>
    </message>
    <message>
        <source>&amp;Global</source>
        <translation>Gesamter &amp;Text</translation>
    </message>
    <message>
        <source>&amp;Selected text</source>
        <translation>&amp;Markierter Text</translation>
    </message>
    <message>
        <source>Origin</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <source>&amp;From cursor</source>
        <translation>Ab &amp;Cursor</translation>
    </message>
    <message>
        <source>&amp;Entire scope</source>
        <translation>Ganzer &amp;Bereich</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>&amp;Alle ersetzen</translation>
    </message>
</context>
<context>
    <name>qx::TFindResultModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>In Folder</source>
        <translation>Im Ordner</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
</context>
<context>
    <name>qx::TFontChoiceForm</name>
    <message>
        <source>Global Options</source>
        <translation>Globale Einstellungen</translation>
    </message>
    <message>
        <source>[Select Font]</source>
        <translation>[Schriftart wählen]</translation>
    </message>
    <message>
        <source>The windows are laid out for sizes from %1 to %2 points.</source>
        <translation>Die Fenster sind für Größen von %1 bis %2 Punkt ausgelegt.</translation>
    </message>
    <message>
        <source>AaBbCcXxYyZz 0123456789</source>
        <translation>AaBbCcXxYyZz ÄäÖöÜüß 0123456789</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation>&amp;Größe:</translation>
    </message>
</context>
<context>
    <name>qx::TGlobalOptionsForm</name>
    <message>
        <source>Quorvin Explorer r2000.2</source>
        <translation>Quorvin Explorer r2000.2</translation>
    </message>
    <message>
        <source>[Global Options]</source>
        <translation>[Globale Einstellungen]</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Select Color</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Select Folder</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>Select Wav</source>
        <translation>WAV-Datei wählen</translation>
    </message>
    <message>
        <source>Wave File (*.wav)</source>
        <translation>WAV-Datei (*.wav)</translation>
    </message>
    <message>
        <source>Select Program</source>
        <translation>Programm wählen</translation>
    </message>
    <message>
        <source>Executable File (*)</source>
        <translation>Ausführbare Datei (*)</translation>
    </message>
    <message>
        <source>Global Options Error</source>
        <translation>Globale Einstellungen – Fehler</translation>
    </message>
    <message>
        <source>[%1] is not a program that can be started.</source>
        <translation>[%1] ist kein Programm, das gestartet werden kann.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Darstellung</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Select Font...</source>
        <translation>Schriftart wählen...</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Gradient Color</source>
        <translation>Verlaufsfarbe</translation>
    </message>
    <message>
        <source>Select Color...</source>
        <translation>Farbe wählen...</translation>
    </message>
    <message>
        <source>Default Settings</source>
        <translation>Standardeinstellungen</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>A server that sends nothing for this long ends the request it was asked for</source>
        <translation>Ein Server, der so lange nichts sendet, beendet die Anfrage, um die er gebeten wurde</translation>
    </message>
    <message>
        <source>Login &amp;Retry:</source>
        <translation>Anmelde&amp;versuche:</translation>
    </message>
    <message>
        <source>Relogin &amp;Delay:</source>
        <translation>&amp;Wartezeit vor erneuter Anmeldung:</translation>
    </message>
    <message>
        <source>T&amp;imeout (sec):</source>
        <translation>Zeit&amp;limit (Sek.):</translation>
    </message>
    <message>
        <source>&amp;E-mail as Anonymous Login Password:</source>
        <translation>&amp;E-Mail-Adresse als Passwort für anonyme Anmeldung:</translation>
    </message>
    <message>
        <source>Transfer</source>
        <translation>Übertragung</translation>
    </message>
    <message>
        <source>Resume &amp;Transfer</source>
        <translation>Übertragung &amp;fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Passive Mode</source>
        <translation>&amp;Passiver Modus</translation>
    </message>
    <message>
        <source>&amp;Keep file times</source>
        <translation>Datei&amp;zeiten beibehalten</translation>
    </message>
    <message>
        <source>ASCII File Extentions</source>
        <translation>Dateiendungen für ASCII</translation>
    </message>
    <message>
        <source>When a File Exists at the Target</source>
        <translation>Wenn die Datei am Ziel schon existiert</translation>
    </message>
    <message>
        <source>Ask</source>
        <translation>Nachfragen</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Overwrite if newer</source>
        <translation>Überschreiben, wenn neuer</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>What downloads and uploads do with a file of the same name at their target</source>
        <translation>Was beim Herunter- und Hochladen mit einer gleichnamigen Datei am Ziel geschieht</translation>
    </message>
    <message>
        <source>Browse Folder...</source>
        <translation>Ordner durchsuchen...</translation>
    </message>
    <message>
        <source>Temporary Download Folder</source>
        <translation>Temporärer Download-Ordner</translation>
    </message>
    <message>
        <source>Speed Limits (sites without their own, and the queue)</source>
        <translation>Geschwindigkeitsgrenzen (Server ohne eigene, und die Warteschlange)</translation>
    </message>
    <message>
        <source>Sound Feedback</source>
        <translation>Klänge</translation>
    </message>
    <message>
        <source>Play Wav File On</source>
        <translation>WAV-Datei abspielen bei</translation>
    </message>
    <message>
        <source>&amp;Logged in:</source>
        <translation>&amp;Angemeldet:</translation>
    </message>
    <message>
        <source>&amp;Error:</source>
        <translation>&amp;Fehler:</translation>
    </message>
    <message>
        <source>&amp;Transfer Done:</source>
        <translation>Übertragung a&amp;bgeschlossen:</translation>
    </message>
    <message>
        <source>Select Wav...</source>
        <translation>WAV-Datei wählen...</translation>
    </message>
    <message>
        <source>Play Wav</source>
        <translation>WAV abspielen</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Select Program...</source>
        <translation>Programm wählen...</translation>
    </message>
    <message>
        <source>Ping</source>
        <translation>Ping</translation>
    </message>
    <message>
        <source>Telnet</source>
        <translation>Telnet</translation>
    </message>
</context>
<context>
    <name>qx::THelpForm</name>
    <message>
        <source>Quorvin Explorer Help</source>
        <translation>Quorvin Explorer – Hilfe</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
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
        <translation>Server&amp;liste...</translation>
    </message>
    <message>
        <source>Site Book...|Show Site Book</source>
        <translation>Serverliste...|Serverliste anzeigen</translation>
    </message>
    <message>
        <source>&amp;Quick Connect...</source>
        <translation>&amp;Schnellverbindung...</translation>
    </message>
    <message>
        <source>Quick Connect...</source>
        <translation>Schnellverbindung...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Exit|Terminate Quorvin Explorer</source>
        <translation>Beenden|Quorvin Explorer beenden</translation>
    </message>
    <message>
        <source>&amp;Local Explorer...</source>
        <translation>&amp;Lokaler Explorer...</translation>
    </message>
    <message>
        <source>Local Explorer...|Show Local Explorer...</source>
        <translation>Lokaler Explorer...|Lokalen Explorer anzeigen...</translation>
    </message>
    <message>
        <source>&amp;Carrier...</source>
        <translation>&amp;Warteschlange...</translation>
    </message>
    <message>
        <source>Carrier...|Show Carrier...</source>
        <translation>Warteschlange...|Warteschlange anzeigen...</translation>
    </message>
    <message>
        <source>&amp;Online Editor...</source>
        <translation>&amp;Online-Editor...</translation>
    </message>
    <message>
        <source>Online Editor...|Show Online Editor...</source>
        <translation>Online-Editor...|Online-Editor anzeigen...</translation>
    </message>
    <message>
        <source>Global &amp;Options...</source>
        <translation>Globale &amp;Einstellungen...</translation>
    </message>
    <message>
        <source>GlobalOptions...|Setting Global Options...</source>
        <translation>Globale Einstellungen...|Globale Einstellungen festlegen...</translation>
    </message>
    <message>
        <source>&amp;Contents...</source>
        <translation>&amp;Inhalt...</translation>
    </message>
    <message>
        <source>Contents...|Show Help Contents...</source>
        <translation>Inhalt...|Inhalt der Hilfe anzeigen...</translation>
    </message>
    <message>
        <source>&amp;Home Page...</source>
        <translation>&amp;Webseite...</translation>
    </message>
    <message>
        <source>Home Page...|Visit Quorvin Explorer Home Page...</source>
        <translation>Webseite...|Webseite von Quorvin Explorer besuchen...</translation>
    </message>
    <message>
        <source>&amp;Write to Developer...</source>
        <translation>&amp;An die Entwickler schreiben...</translation>
    </message>
    <message>
        <source>Write to Developer...|Write a mail to the developers of Quorvin Explorer...</source>
        <translation>An die Entwickler schreiben...|Eine E-Mail an die Entwickler von Quorvin Explorer schreiben...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>About...|About Quorvin Explorer...</source>
        <translation>Über...|Über Quorvin Explorer...</translation>
    </message>
    <message>
        <source>About Quorvin Explorer</source>
        <translation>Über Quorvin Explorer</translation>
    </message>
    <message>
        <source>&lt;h3&gt;%1&lt;/h3&gt;&lt;p&gt;A desktop FTP client: a site book, remote explorers, a transfer queue.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;%1&lt;/h3&gt;&lt;p&gt;Ein FTP-Programm für den Desktop: eine Serverliste, Server-Explorer und eine Warteschlange für Übertragungen.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Restore|Restore Remote Explorer</source>
        <translation>Wiederherstellen|Server-Explorer wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Minimize</source>
        <translation>&amp;Minimieren</translation>
    </message>
    <message>
        <source>Minize|Minize Remote Explorer</source>
        <translation>Minimieren|Server-Explorer minimieren</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Close|Close Remote Explorer</source>
        <translation>Schließen|Server-Explorer schließen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Hauptleiste</translation>
    </message>
    <message>
        <source>Remote Explorer List</source>
        <translation>Liste der Server-Explorer</translation>
    </message>
</context>
<context>
    <name>qx::TOnlineEditorForm</name>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>Update|Write the text back to the server</source>
        <translation>Aktualisieren|Den Text auf den Server zurückschreiben</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Close|Close the page</source>
        <translation>Schließen|Die Seite schließen</translation>
    </message>
    <message>
        <source>Save as &amp;Local File...</source>
        <translation>Als &amp;lokale Datei speichern...</translation>
    </message>
    <message>
        <source>Save as Local File...|Save the text as a local file</source>
        <translation>Als lokale Datei speichern...|Den Text als lokale Datei speichern</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Print|Print the text</source>
        <translation>Drucken|Den Text drucken</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>Aus&amp;blenden</translation>
    </message>
    <message>
        <source>Hide|Hide Online Editor</source>
        <translation>Ausblenden|Online-Editor ausblenden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles a&amp;uswählen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>&amp;Font...</source>
        <translation>&amp;Schriftart...</translation>
    </message>
    <message>
        <source>Font...|Choose the editor font</source>
        <translation>Schriftart...|Die Schriftart des Editors wählen</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Suchen...</translation>
    </message>
    <message>
        <source>&amp;Search Again</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Search Again</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation>&amp;Ersetzen...</translation>
    </message>
    <message>
        <source>Replace...</source>
        <translation>Ersetzen...</translation>
    </message>
    <message>
        <source>Go to &amp;Line Number...</source>
        <translation>Gehe zu &amp;Zeile...</translation>
    </message>
    <message>
        <source>Go to Line Number...</source>
        <translation>Gehe zu Zeile...</translation>
    </message>
    <message>
        <source>&amp;Log Panel</source>
        <translation>&amp;Protokollbereich</translation>
    </message>
    <message>
        <source>Log Panel|Show or hide the log panel</source>
        <translation>Protokollbereich|Den Protokollbereich ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Bookmark &amp;%1</source>
        <translation>Lesezeichen &amp;%1</translation>
    </message>
    <message>
        <source>Toggle Bookmark %1</source>
        <translation>Lesezeichen %1 setzen/entfernen</translation>
    </message>
    <message>
        <source>Go to Bookmark %1</source>
        <translation>Gehe zu Lesezeichen %1</translation>
    </message>
    <message>
        <source>&amp;Toggle Bookmarks</source>
        <translation>&amp;Lesezeichen setzen/entfernen</translation>
    </message>
    <message>
        <source>&amp;Go to Bookmarks</source>
        <translation>&amp;Gehe zu Lesezeichen</translation>
    </message>
    <message>
        <source>Toggle Bookmarks</source>
        <translation>Lesezeichen setzen/entfernen</translation>
    </message>
    <message>
        <source>Go to Bookmarks</source>
        <translation>Gehe zu Lesezeichen</translation>
    </message>
    <message>
        <source>Syntax &amp;Highlighters</source>
        <translation>Syntax&amp;hervorhebung</translation>
    </message>
    <message>
        <source>&amp;Toolbars</source>
        <translation>&amp;Werkzeugleisten</translation>
    </message>
    <message>
        <source>Select Syntax Highlighter</source>
        <translation>Syntaxhervorhebung wählen</translation>
    </message>
    <message>
        <source>Online Editor Error</source>
        <translation>Online-Editor – Fehler</translation>
    </message>
    <message>
        <source>[%1] is too large for the online editor: at most %2 MB.</source>
        <translation>[%1] ist zu groß für den Online-Editor: höchstens %2 MB.</translation>
    </message>
    <message>
        <source>Cannot open [%1]: %2</source>
        <translation>[%1] kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be written back; the page stays open.</source>
        <translation>%1 konnte nicht zurückgeschrieben werden; die Seite bleibt offen.</translation>
    </message>
    <message>
        <source>Online Editor Close Confirm</source>
        <translation>Online-Editor – Schließen bestätigen</translation>
    </message>
    <message>
        <source>Online Editor</source>
        <translation>Online-Editor</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alle</translation>
    </message>
    <message>
        <source>Save as Local File</source>
        <translation>Als lokale Datei speichern</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>[Go to Line Number]</source>
        <translation>[Gehe zu Zeile]</translation>
    </message>
    <message>
        <source>&amp;Enter new line number:</source>
        <translation>Neue &amp;Zeilennummer eingeben:</translation>
    </message>
    <message>
        <source>[%1] could not be printed.</source>
        <translation>[%1] konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>Cannot write [%1]: %2</source>
        <translation>[%1] kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot write the local file [%1]: %2</source>
        <translation>Die lokale Datei [%1] kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be written back. Choose a local file to keep the text in.</source>
        <translation>%1 konnte nicht zurückgeschrieben werden. Wählen Sie eine lokale Datei, in der der Text erhalten bleibt.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;HTML</source>
        <translation>&amp;HTML</translation>
    </message>
    <message>
        <source>&amp;C++</source>
        <translation>&amp;C++</translation>
    </message>
    <message>
        <source>&amp;Pascal</source>
        <translation>&amp;Pascal</translation>
    </message>
    <message>
        <source>Pe&amp;rl</source>
        <translation>Pe&amp;rl</translation>
    </message>
    <message>
        <source>&amp;Java</source>
        <translation>&amp;Java</translation>
    </message>
    <message>
        <source>&amp;SQL</source>
        <translation>&amp;SQL</translation>
    </message>
    <message>
        <source>&amp;Tcl/Tk</source>
        <translation>&amp;Tcl/Tk</translation>
    </message>
    <message>
        <source>&amp;AWK</source>
        <translation>&amp;AWK</translation>
    </message>
    <message>
        <source>&amp;DML</source>
        <translation>&amp;DML</translation>
    </message>
    <message>
        <source>Do &amp;not use</source>
        <translation>&amp;Nicht verwenden</translation>
    </message>
    <message>
        <source>File Toolbar</source>
        <translation>Werkzeugleiste Datei</translation>
    </message>
    <message>
        <source>Edit Toolbar</source>
        <translation>Werkzeugleiste Bearbeiten</translation>
    </message>
    <message>
        <source>Search Toolbar</source>
        <translation>Werkzeugleiste Suchen</translation>
    </message>
    <message>
        <source>View Toolbar</source>
        <translation>Werkzeugleiste Ansicht</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Caps Lock</source>
        <translation>Feststelltaste</translation>
    </message>
    <message>
        <source>Pellucor&apos;s Online Editor </source>
        <translation>Pellucor&apos;s Online-Editor </translation>
    </message>
    <message>
        <source>%1 has been changed. Update?</source>
        <translation>%1 wurde geändert. Aktualisieren?</translation>
    </message>
    <message>
        <source>Replace this occurrence of &apos;%1&apos; with &apos;%2&apos;?</source>
        <translation>Diese Fundstelle von „%1“ durch „%2“ ersetzen?</translation>
    </message>
    <message>
        <source>Search string &apos;%1&apos; not found</source>
        <translation>Suchbegriff „%1“ nicht gefunden</translation>
    </message>
</context>
<context>
    <name>qx::TOverwriteForm</name>
    <message>
        <source>Transfer</source>
        <translation>Übertragung</translation>
    </message>
    <message>
        <source>[File Exists]</source>
        <translation>[Datei existiert]</translation>
    </message>
    <message>
        <source>The server holds [%1] already.</source>
        <translation>Auf dem Server gibt es [%1] schon.</translation>
    </message>
    <message>
        <source>[%1] exists already.</source>
        <translation>[%1] existiert schon.</translation>
    </message>
    <message>
        <source>There now:</source>
        <translation>Jetzt dort:</translation>
    </message>
    <message>
        <source>Uploading:</source>
        <translation>Wird hochgeladen:</translation>
    </message>
    <message>
        <source>Downloading:</source>
        <translation>Wird heruntergeladen:</translation>
    </message>
    <message>
        <source>New &amp;name:</source>
        <translation>Neuer &amp;Name:</translation>
    </message>
    <message>
        <source>Do the same for the &amp;rest of these files</source>
        <translation>Für die &amp;restlichen dieser Dateien ebenso verfahren</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Überschreiben</translation>
    </message>
    <message>
        <source>If &amp;Newer</source>
        <translation>Wenn n&amp;euer</translation>
    </message>
    <message>
        <source>Res&amp;ume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <source>Go on from the end of the shorter file there</source>
        <translation>Am Ende der dort kürzeren Datei weitermachen</translation>
    </message>
    <message>
        <source>Only a shorter file there, in a binary transfer, can be resumed</source>
        <translation>Fortsetzen lässt sich nur eine dort kürzere Datei bei einer binären Übertragung</translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation>Übers&amp;pringen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>size unknown</source>
        <translation>Größe unbekannt</translation>
    </message>
    <message>
        <source>date unknown</source>
        <translation>Datum unbekannt</translation>
    </message>
</context>
<context>
    <name>qx::TProgramWindows</name>
    <message>
        <source>Quorvin Explorer Transfer Queue</source>
        <translation>Quorvin Explorer – Warteschlange</translation>
    </message>
    <message>
        <source>%1.

The queue goes on in memory and is written again with its next change; until then, what changed since is not kept if the program ends.</source>
        <translation>%1.

Die Warteschlange arbeitet im Speicher weiter und wird bei ihrer nächsten Änderung erneut geschrieben; bis dahin geht verloren, was sich seitdem geändert hat, wenn das Programm endet.</translation>
    </message>
    <message numerus="yes">
        <source>%n entries of the transfer queue file could not be read and were left out.</source>
        <translation>
            <numerusform>Ein Eintrag der Warteschlangendatei konnte nicht gelesen werden und wurde ausgelassen.</numerusform>
            <numerusform>%n Einträge der Warteschlangendatei konnten nicht gelesen werden und wurden ausgelassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>A transfer is running in the Carrier. Exit and stop it?

It stays in the queue: Resume carries it on at the next start.</source>
        <translation>In der Warteschlange läuft eine Übertragung. Beenden und sie anhalten?

Sie bleibt in der Warteschlange: „Fortsetzen“ führt sie beim nächsten Start weiter.</translation>
    </message>
    <message>
        <source>%1 transfers are running in the Carrier. Exit and stop them?

They stay in the queue: Resume carries them on at the next start.</source>
        <translation>In der Warteschlange laufen %1 Übertragungen. Beenden und sie anhalten?

Sie bleiben in der Warteschlange: „Fortsetzen“ führt sie beim nächsten Start weiter.</translation>
    </message>
    <message>
        <source>Quorvin Explorer Exit Confirm</source>
        <translation>Quorvin Explorer – Beenden bestätigen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
</context>
<context>
    <name>qx::TProxyFields</name>
    <message>
        <source>No proxy</source>
        <translation>Kein Proxy</translation>
    </message>
    <message>
        <source>SOCKS5</source>
        <translation>SOCKS5</translation>
    </message>
    <message>
        <source>SOCKS5, the proxy resolves names</source>
        <translation>SOCKS5, der Proxy löst die Namen auf</translation>
    </message>
    <message>
        <source>HTTP (CONNECT)</source>
        <translation>HTTP (CONNECT)</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>&amp;Art:</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>&amp;Host:</translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation>P&amp;ort:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
    <message>
        <source>Leave the user name empty for a proxy without a login.</source>
        <translation>Lassen Sie den Benutzernamen leer für einen Proxy ohne Anmeldung.</translation>
    </message>
    <message>
        <source>The proxy that FTP and SFTP connections go through, unless a site chooses otherwise. Active FTP mode cannot be used through a proxy.</source>
        <translation>Der Proxy, über den FTP- und SFTP-Verbindungen laufen, wenn ein Server nichts anderes festlegt. Der aktive FTP-Modus kann nicht über einen Proxy verwendet werden.</translation>
    </message>
    <message>
        <source>Proxy</source>
        <translation>Proxy</translation>
    </message>
    <message>
        <source>Use the global proxy</source>
        <translation>Den globalen Proxy verwenden</translation>
    </message>
    <message>
        <source>Connect directly</source>
        <translation>Direkt verbinden</translation>
    </message>
    <message>
        <source>Use this proxy:</source>
        <translation>Diesen Proxy verwenden:</translation>
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
    <message>
        <source>F&amp;ind Files...</source>
        <translation>&amp;Dateien suchen...</translation>
    </message>
    <message>
        <source>Find Files...|Find Files below the Folder by Name, Size and Date</source>
        <translation>Dateien suchen...|Dateien unterhalb des Ordners nach Name, Größe und Datum suchen</translation>
    </message>
</context>
<context>
    <name>qx::TRemoteFindForm</name>
    <message>
        <source>Find Files</source>
        <translation>Dateien suchen</translation>
    </message>
    <message>
        <source>&amp;Look in:</source>
        <translation>Suchen &amp;in:</translation>
    </message>
    <message>
        <source>every name; several masks apart by &quot;;&quot;, e.g. *.txt;*.log</source>
        <translation>jeder Name; mehrere Masken durch „;“ getrennt, z. B. *.txt;*.log</translation>
    </message>
    <message>
        <source>&amp;Names:</source>
        <translation>&amp;Namen:</translation>
    </message>
    <message>
        <source>In &amp;subfolders, levels deep:</source>
        <translation>In &amp;Unterordnern, Ebenen tief:</translation>
    </message>
    <message>
        <source>e.g. 500K, 2M, 1G</source>
        <translation>z. B. 500K, 2M, 1G</translation>
    </message>
    <message>
        <source>larger than</source>
        <translation>größer als</translation>
    </message>
    <message>
        <source>smaller than</source>
        <translation>kleiner als</translation>
    </message>
    <message>
        <source>Si&amp;ze:</source>
        <translation>&amp;Größe:</translation>
    </message>
    <message>
        <source>&amp;after</source>
        <translation>n&amp;ach</translation>
    </message>
    <message>
        <source>&amp;before</source>
        <translation>&amp;vor</translation>
    </message>
    <message>
        <source>Modified:</source>
        <translation>Geändert:</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>Anhal&amp;ten</translation>
    </message>
    <message>
        <source>&amp;Go to Folder</source>
        <translation>Zum &amp;Ordner wechseln</translation>
    </message>
    <message>
        <source>&amp;Download</source>
        <translation>&amp;Herunterladen</translation>
    </message>
    <message>
        <source>Download in &amp;Queue</source>
        <translation>In &amp;Warteschlange herunterladen</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>The names are not valid masks.</source>
        <translation>Die Namen sind keine gültigen Masken.</translation>
    </message>
    <message>
        <source>A size is a number of bytes, or of K, M or G (powers of 1024): 1500, 500K, 2M.</source>
        <translation>Eine Größe ist eine Zahl von Bytes oder von K, M oder G (Potenzen von 1024): 1500, 500K, 2M.</translation>
    </message>
    <message>
        <source>No file can be larger than the one size and smaller than the other.</source>
        <translation>Keine Datei kann größer als die eine und zugleich kleiner als die andere Größe sein.</translation>
    </message>
    <message>
        <source>No entry can be modified after the first day and before the second.</source>
        <translation>Kein Eintrag kann nach dem ersten und zugleich vor dem zweiten Tag geändert worden sein.</translation>
    </message>
    <message>
        <source>The folder to look in is a path of the server from &quot;/&quot; on.</source>
        <translation>Der zu durchsuchende Ordner ist ein Pfad auf dem Server, beginnend mit „/“.</translation>
    </message>
    <message>
        <source>Searching %1... %2 found in %3 folders</source>
        <translation>Suche in %1... %2 gefunden in %3 Ordnern</translation>
    </message>
    <message>
        <source>%1 found in %2 folders</source>
        <translation>%1 gefunden in %2 Ordnern</translation>
    </message>
    <message>
        <source>Stopped: %1</source>
        <translation>Angehalten: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s) could not be listed, first [%1]: %2</source>
        <translation>
            <numerusform>%n Ordner konnte nicht gelesen werden, als erster [%1]: %2</numerusform>
            <numerusform>%n Ordner konnten nicht gelesen werden, als erster [%1]: %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s) lie deeper than the levels searched</source>
        <translation>
            <numerusform>%n Ordner liegt tiefer als die durchsuchten Ebenen</numerusform>
            <numerusform>%n Ordner liegen tiefer als die durchsuchten Ebenen</numerusform>
        </translation>
    </message>
    <message>
        <source>The explorer is busy with another command; try again when it has ended, or use Download in Queue.</source>
        <translation>Der Explorer ist mit einem anderen Befehl beschäftigt; versuchen Sie es erneut, wenn er fertig ist, oder verwenden Sie „In Warteschlange herunterladen“.</translation>
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
        <translation>Pellucor&apos;s Serverliste </translation>
    </message>
    <message>
        <source>&amp;Connect...</source>
        <translation>&amp;Verbinden...</translation>
    </message>
    <message>
        <source>Connect...|Connect to Selected Site...</source>
        <translation>Verbinden...|Mit dem gewählten Server verbinden...</translation>
    </message>
    <message>
        <source>&amp;Quick Connect...</source>
        <translation>&amp;Schnellverbindung...</translation>
    </message>
    <message>
        <source>Quick Connect...</source>
        <translation>Schnellverbindung...</translation>
    </message>
    <message>
        <source>New &amp;Folder</source>
        <translation>Neuer &amp;Ordner</translation>
    </message>
    <message>
        <source>New Folder|Make New Folder</source>
        <translation>Neuer Ordner|Einen neuen Ordner anlegen</translation>
    </message>
    <message>
        <source>New &amp;Site...</source>
        <translation>&amp;Neuer Server...</translation>
    </message>
    <message>
        <source>New Site...|Make New Site...</source>
        <translation>Neuer Server...|Einen neuen Server anlegen...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete|Delete Selected Node</source>
        <translation>Löschen|Den gewählten Eintrag löschen</translation>
    </message>
    <message>
        <source>Rena&amp;me</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>Rename|Rename Selected Node</source>
        <translation>Umbenennen|Den gewählten Eintrag umbenennen</translation>
    </message>
    <message>
        <source>P&amp;roperties...</source>
        <translation>&amp;Eigenschaften...</translation>
    </message>
    <message>
        <source>Properties...|View Selected Site Properties...</source>
        <translation>Eigenschaften...|Eigenschaften des gewählten Servers anzeigen...</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>Aus&amp;blenden</translation>
    </message>
    <message>
        <source>Hide|Hide Site Book</source>
        <translation>Ausblenden|Serverliste ausblenden</translation>
    </message>
    <message>
        <source>&amp;Ping...</source>
        <translation>&amp;Ping...</translation>
    </message>
    <message>
        <source>Ping...|Ping to Selected Site...</source>
        <translation>Ping...|Den gewählten Server anpingen...</translation>
    </message>
    <message>
        <source>Site Book Ping Error</source>
        <translation>Serverliste – Fehler bei Ping</translation>
    </message>
    <message>
        <source>&amp;Telnet...</source>
        <translation>&amp;Telnet...</translation>
    </message>
    <message>
        <source>Telnet...|Telnet to Selected Site...</source>
        <translation>Telnet...|Telnet zum gewählten Server...</translation>
    </message>
    <message>
        <source>Site Book Telnet Error</source>
        <translation>Serverliste – Fehler bei Telnet</translation>
    </message>
    <message>
        <source>&amp;Import Sites...</source>
        <translation>Server &amp;importieren...</translation>
    </message>
    <message>
        <source>Import Sites...|Import Sites of Another Client or of a Site Book File into the Selected Folder...</source>
        <translation>Server importieren...|Server eines anderen Programms oder aus einer Serverlisten-Datei in den gewählten Ordner importieren...</translation>
    </message>
    <message>
        <source>&amp;Export Site Book...</source>
        <translation>Serverliste e&amp;xportieren...</translation>
    </message>
    <message>
        <source>Export Site Book...|Write the Site Book to a File...</source>
        <translation>Serverliste exportieren...|Die Serverliste in eine Datei schreiben...</translation>
    </message>
    <message>
        <source>&amp;Site</source>
        <translation>&amp;Server</translation>
    </message>
    <message>
        <source>&amp;Tool</source>
        <translation>&amp;Extras</translation>
    </message>
    <message>
        <source>Site Book Toolbar</source>
        <translation>Werkzeugleiste Serverliste</translation>
    </message>
    <message>
        <source>Tool Toolbar</source>
        <translation>Werkzeugleiste Extras</translation>
    </message>
    <message>
        <source>Site Book [%1]</source>
        <translation>Serverliste [%1]</translation>
    </message>
    <message>
        <source>[Quick Connect]</source>
        <translation>[Schnellverbindung]</translation>
    </message>
    <message>
        <source>[New Site]</source>
        <translation>[Neuer Server]</translation>
    </message>
    <message>
        <source>Site Book Delete Confirm</source>
        <translation>Serverliste – Löschen bestätigen</translation>
    </message>
    <message>
        <source>Are you sure to delete [%1]?</source>
        <translation>Möchten Sie [%1] wirklich löschen?</translation>
    </message>
    <message>
        <source>Site lists (*.xml *.ini *.sites);;All files (*)</source>
        <translation>Serverlisten (*.xml *.ini *.sites);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Export Site Book</source>
        <translation>Serverliste exportieren</translation>
    </message>
    <message>
        <source>Import Sites</source>
        <translation>Server importieren</translation>
    </message>
    <message>
        <source>Left out:</source>
        <translation>Ausgelassen:</translation>
    </message>
    <message>
        <source>The file holds no site to add.</source>
        <translation>Die Datei enthält keinen Server zum Hinzufügen.</translation>
    </message>
    <message numerus="yes">
        <source>Add %n site(s) to [%1]?</source>
        <translation>
            <numerusform>Einen Server zu [%1] hinzufügen?</numerusform>
            <numerusform>%n Server zu [%1] hinzufügen?</numerusform>
        </translation>
    </message>
    <message>
        <source>Sites:</source>
        <translation>Server:</translation>
    </message>
    <message numerus="yes">
        <source>%n site(s) added.</source>
        <translation>
            <numerusform>Ein Server hinzugefügt.</numerusform>
            <numerusform>%n Server hinzugefügt.</numerusform>
        </translation>
    </message>
    <message>
        <source>The site book was written to %1, without passwords.</source>
        <translation>Die Serverliste wurde ohne Passwörter nach %1 geschrieben.</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... und %1 weitere</translation>
    </message>
    <message>
        <source>No program is set for this tool. Choose one in the global options.</source>
        <translation>Für dieses Werkzeug ist kein Programm festgelegt. Wählen Sie eines in den globalen Einstellungen.</translation>
    </message>
    <message>
        <source>Cannot start [%1] in a terminal: neither x-terminal-emulator nor xterm could be started.</source>
        <translation>[%1] kann nicht in einem Terminal gestartet werden: weder x-terminal-emulator noch xterm ließ sich starten.</translation>
    </message>
    <message>
        <source>Cannot start [%1].</source>
        <translation>[%1] kann nicht gestartet werden.</translation>
    </message>
</context>
<context>
    <name>qx::TSitePropertiesForm</name>
    <message>
        <source>Pellucor&apos;s Site Book [Site Properties]</source>
        <translation>Pellucor&apos;s Serverliste [Servereigenschaften]</translation>
    </message>
    <message>
        <source>Site Book</source>
        <translation>Serverliste</translation>
    </message>
    <message>
        <source>[Site Properties]</source>
        <translation>[Servereigenschaften]</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Login Information</source>
        <translation>Anmeldedaten</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Proxy</source>
        <translation>Proxy</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Ort:</translation>
    </message>
    <message>
        <source>A&amp;nonymous Login</source>
        <translation>Anon&amp;yme Anmeldung</translation>
    </message>
    <message>
        <source>ssh&apos;s own choice</source>
        <translation>Auswahl von ssh</translation>
    </message>
    <message>
        <source>B&amp;rowse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Use the SSH &amp;agent</source>
        <translation>SSH-&amp;Agent verwenden</translation>
    </message>
    <message>
        <source>Pro&amp;tocol:</source>
        <translation>Pro&amp;tokoll:</translation>
    </message>
    <message>
        <source>&amp;Host Name:</source>
        <translation>&amp;Hostname:</translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation>P&amp;ort:</translation>
    </message>
    <message>
        <source>&amp;Encryption:</source>
        <translation>V&amp;erschlüsselung:</translation>
    </message>
    <message>
        <source>&amp;User Name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
    <message>
        <source>No keyring is running: the password is kept in the settings file, readable only by you.</source>
        <translation>Es läuft kein Schlüsselbund: Das Passwort wird in der Einstellungsdatei gespeichert, die nur Sie lesen können.</translation>
    </message>
    <message>
        <source>&amp;Key File:</source>
        <translation>Schl&amp;üsseldatei:</translation>
    </message>
    <message>
        <source>&amp;Initial Folder:</source>
        <translation>Startordne&amp;r:</translation>
    </message>
    <message>
        <source>Resume &amp;Transfer</source>
        <translation>Übertragung &amp;fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Passive Mode</source>
        <translation>&amp;Passiver Modus</translation>
    </message>
    <message>
        <source>Use &amp;machine listings (MLSD) when the server offers them</source>
        <translation>&amp;Maschinenlesbare Listen (MLSD) verwenden, wenn der Server sie anbietet</translation>
    </message>
    <message>
        <source>&amp;Upload under a temporary name (off for servers that refuse renames)</source>
        <translation>Unter einem temporären Namen &amp;hochladen (aus für Server, die das Umbenennen verweigern)</translation>
    </message>
    <message>
        <source>Login &amp;Retry:</source>
        <translation>Anmelde&amp;versuche:</translation>
    </message>
    <message>
        <source>Relogin &amp;Delay(sec):</source>
        <translation>&amp;Wartezeit vor erneuter Anmeldung (Sek.):</translation>
    </message>
    <message>
        <source> h</source>
        <translation> Std.</translation>
    </message>
    <message>
        <source> min</source>
        <translation> Min.</translation>
    </message>
    <message>
        <source>Time &amp;zone offset (LIST):</source>
        <translation>&amp;Zeitzonenversatz (LIST):</translation>
    </message>
    <message>
        <source>&amp;Connect...</source>
        <translation>&amp;Verbinden...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Key File</source>
        <translation>Schlüsseldatei</translation>
    </message>
    <message>
        <source>Auto: UTF-8 when the server offers it, else the set below</source>
        <translation>Automatisch: UTF-8, wenn der Server es anbietet, sonst die Kodierung darunter</translation>
    </message>
    <message>
        <source>File name &amp;encoding:</source>
        <translation>Dateinamen-&amp;Kodierung:</translation>
    </message>
    <message>
        <source>Auto without UTF-8 &amp;from the server:</source>
        <translation>Automatisch o&amp;hne UTF-8 vom Server:</translation>
    </message>
    <message>
        <source>Use the &amp;global speed limits</source>
        <translation>Die &amp;globalen Geschwindigkeitsgrenzen verwenden</translation>
    </message>
    <message>
        <source>Speed Limits</source>
        <translation>Geschwindigkeitsgrenzen</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>An idle connection sends a keep-alive after so many seconds without a command</source>
        <translation>Eine untätige Verbindung sendet nach so vielen Sekunden ohne Befehl ein Lebenszeichen</translation>
    </message>
    <message>
        <source>&amp;Keep-alive interval:</source>
        <translation>&amp;Intervall für Lebenszeichen:</translation>
    </message>
    <message>
        <source>Use plain FTP</source>
        <translation>Einfaches FTP verwenden</translation>
    </message>
    <message>
        <source>Use explicit TLS if available</source>
        <translation>Explizites TLS verwenden, wenn verfügbar</translation>
    </message>
    <message>
        <source>Require explicit TLS</source>
        <translation>Explizites TLS verlangen</translation>
    </message>
    <message>
        <source>Require implicit TLS</source>
        <translation>Implizites TLS verlangen</translation>
    </message>
    <message>
        <source>FTP</source>
        <translation>FTP</translation>
    </message>
    <message>
        <source>SFTP (over SSH)</source>
        <translation>SFTP (über SSH)</translation>
    </message>
</context>
<context>
    <name>qx::TSshQuestionForm</name>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>&amp;Trust</source>
        <translation>&amp;Vertrauen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>The host key of %1 is not known yet: ssh cannot tell whether this is the server you mean.</source>
        <translation>Der Host-Schlüssel von %1 ist noch nicht bekannt: ssh kann nicht feststellen, ob dies der gemeinte Server ist.</translation>
    </message>
    <message>
        <source>Host:</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>Key type:</source>
        <translation>Schlüsseltyp:</translation>
    </message>
    <message>
        <source>Fingerprint:</source>
        <translation>Fingerabdruck:</translation>
    </message>
    <message>
        <source>Trust it only when you know that this is the server&apos;s key (compare the fingerprint with the one its administrator gave you). Trust adds it to your known hosts.</source>
        <translation>Vertrauen Sie ihm nur, wenn Sie wissen, dass es der Schlüssel des Servers ist (vergleichen Sie den Fingerabdruck mit dem, den Ihnen sein Administrator genannt hat). „Vertrauen“ fügt ihn Ihren bekannten Hosts hinzu.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Unknown Host Key</source>
        <translation>Unbekannter Host-Schlüssel</translation>
    </message>
    <message>
        <source>[Unknown Host Key]</source>
        <translation>[Unbekannter Host-Schlüssel]</translation>
    </message>
    <message>
        <source>SSH Password</source>
        <translation>SSH-Passwort</translation>
    </message>
    <message>
        <source>[Password]</source>
        <translation>[Passwort]</translation>
    </message>
    <message>
        <source>Key Passphrase</source>
        <translation>Passphrase des Schlüssels</translation>
    </message>
    <message>
        <source>[Passphrase]</source>
        <translation>[Passphrase]</translation>
    </message>
    <message>
        <source>SSH Login</source>
        <translation>SSH-Anmeldung</translation>
    </message>
    <message>
        <source>[Login Question]</source>
        <translation>[Anmeldefrage]</translation>
    </message>
    <message>
        <source>SSH Confirmation</source>
        <translation>SSH-Bestätigung</translation>
    </message>
    <message>
        <source>[Confirm]</source>
        <translation>[Bestätigen]</translation>
    </message>
    <message>
        <source>SSH Notice</source>
        <translation>SSH-Hinweis</translation>
    </message>
    <message>
        <source>[Notice]</source>
        <translation>[Hinweis]</translation>
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
        <translation>Übertragungsart</translation>
    </message>
    <message>
        <source>&amp;ASCII</source>
        <translation>&amp;ASCII</translation>
    </message>
    <message>
        <source>&amp;Binary</source>
        <translation>&amp;Binär</translation>
    </message>
    <message>
        <source>A&amp;uto</source>
        <translation>A&amp;utomatisch</translation>
    </message>
</context>
</TS>
