<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AutoFrames</name>
    <message numerus="yes">
        <source> The sensor&apos;s data were out of step: %n byte(s) that belonged to no whole frame 
 were skipped. 
</source>
        <translation>
            <numerusform> Die Daten des Sensors waren aus dem Takt: %n Byte, das zu keinem ganzen Rahmen gehörte, 
 wurde übersprungen. 
</numerusform>
            <numerusform> Die Daten des Sensors waren aus dem Takt: %n Bytes, die zu keinem ganzen Rahmen gehörten, 
 wurden übersprungen. 
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> %n frame(s) came cut short and were dropped; their bytes are among those skipped. 
</source>
        <translation>
            <numerusform> %n Rahmen kam verkürzt an und wurde verworfen; seine Bytes zählen zu den übersprungenen. 
</numerusform>
            <numerusform> %n Rahmen kamen verkürzt an und wurden verworfen; ihre Bytes zählen zu den übersprungenen. 
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> %1 of %n frame(s) count in the trend but were not drawn: they came faster 
 than the chart is drawn and had left its window before it was drawn again. 
</source>
        <translation>
            <numerusform> %1 von %n Rahmen zählen im Trend, wurden aber nicht gezeichnet: Sie kamen schneller, 
 als das Diagramm gezeichnet wird, und hatten sein Fenster verlassen, bevor es neu gezeichnet wurde. 
</numerusform>
            <numerusform> %1 von %n Rahmen zählen im Trend, wurden aber nicht gezeichnet: Sie kamen schneller, 
 als das Diagramm gezeichnet wird, und hatten sein Fenster verlassen, bevor es neu gezeichnet wurde. 
</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Branding</name>
    <message>
        <source>Gloss sensor scope — training and service edition</source>
        <translation>Glanzsensor-Scope — Schulungs- und Serviceausgabe</translation>
    </message>
</context>
<context>
    <name>CALIBLOG</name>
    <message>
        <source>CALIBRATION LOG</source>
        <translation>KALIBRIERPROTOKOLL</translation>
    </message>
    <message>
        <source>SENSOR</source>
        <translation>SENSOR</translation>
    </message>
    <message>
        <source>Show the records of</source>
        <translation>Einträge zeigen von</translation>
    </message>
    <message>
        <source>INTERVAL</source>
        <translation>INTERVALL</translation>
    </message>
    <message>
        <source>Calibration interval of the sensor in days</source>
        <translation>Kalibrierintervall des Sensors in Tagen</translation>
    </message>
    <message>
        <source>Days from a successful calibration until the next is due, for the sensor chosen; OFF: none.</source>
        <translation>Tage von einer erfolgreichen Kalibrierung bis zur nächsten fälligen, für den gewählten Sensor; AUS: keines.</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>AUS</translation>
    </message>
    <message>
        <source> days</source>
        <translation> Tage</translation>
    </message>
    <message>
        <source>Calibration log file</source>
        <translation>Datei des Kalibrierprotokolls</translation>
    </message>
    <message>
        <source>Calibration records, newest first</source>
        <translation>Kalibriereinträge, neueste zuerst</translation>
    </message>
    <message>
        <source>TIME</source>
        <translation>ZEIT</translation>
    </message>
    <message>
        <source>KIND</source>
        <translation>ART</translation>
    </message>
    <message>
        <source>OUTCOME</source>
        <translation>ERGEBNIS</translation>
    </message>
    <message>
        <source>SENSOR ID</source>
        <translation>SENSOR-ID</translation>
    </message>
    <message>
        <source>USER</source>
        <translation>BENUTZER</translation>
    </message>
    <message>
        <source>WRITTEN TO</source>
        <translation>GESCHRIEBEN IN</translation>
    </message>
    <message>
        <source>REASON</source>
        <translation>GRUND</translation>
    </message>
    <message>
        <source>EXPORT CSV…</source>
        <translation>CSV EXPORTIEREN…</translation>
    </message>
    <message>
        <source>CERTIFICATE…</source>
        <translation>ZERTIFIKAT…</translation>
    </message>
    <message>
        <source>PRINT CERTIFICATE…</source>
        <translation>ZERTIFIKAT DRUCKEN…</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>SCHLIESSEN</translation>
    </message>
</context>
<context>
    <name>CALIBP</name>
    <message>
        <source>Calibration</source>
        <translation>Kalibrierung</translation>
    </message>
    <message>
        <source>Place the sensor on the reference target with gloss factor 100 units, then press START CALIBRATION.</source>
        <translation>Den Sensor auf das Referenznormal mit Glanzgrad 100 setzen, dann KALIBRIERUNG STARTEN drücken.</translation>
    </message>
    <message>
        <source>REFERENCE 100</source>
        <translation>REFERENZ 100</translation>
    </message>
    <message>
        <source>POWER</source>
        <translation>LEISTUNG</translation>
    </message>
    <message>
        <source>Calibration power</source>
        <translation>Kalibrierleistung</translation>
    </message>
    <message>
        <source>Calibration power value</source>
        <translation>Wert der Kalibrierleistung</translation>
    </message>
    <message>
        <source>Transmitter power of the calibration, as set with the slider beside it.</source>
        <translation>Sendeleistung der Kalibrierung, wie mit dem Schieberegler daneben eingestellt.</translation>
    </message>
    <message>
        <source>CH_REF</source>
        <translation>CH_REF</translation>
    </message>
    <message>
        <source>Reference channel</source>
        <translation>Referenzkanal</translation>
    </message>
    <message>
        <source>Reference channel CH_REF in the last value set.</source>
        <translation>Referenzkanal CH_REF im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>CH_DIR</source>
        <translation>CH_DIR</translation>
    </message>
    <message>
        <source>Direct channel</source>
        <translation>Direktkanal</translation>
    </message>
    <message>
        <source>Direct channel CH_DIR in the last value set.</source>
        <translation>Direktkanal CH_DIR im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>START CALIBRATION</source>
        <translation>KALIBRIERUNG STARTEN</translation>
    </message>
    <message>
        <source>Start calibration</source>
        <translation>Kalibrierung starten</translation>
    </message>
    <message>
        <source>CALIBRATE TO OTHER SYSTEM</source>
        <translation>AUF ANDERES SYSTEM KALIBRIEREN</translation>
    </message>
    <message>
        <source>Calibrate to other system</source>
        <translation>Auf anderes Messsystem kalibrieren</translation>
    </message>
    <message>
        <source>CLOSE CALIBRATION</source>
        <translation>KALIBRIERUNG SCHLIESSEN</translation>
    </message>
    <message>
        <source>Close calibration</source>
        <translation>Kalibrierung schließen</translation>
    </message>
    <message>
        <source>CALIBRATION LOG…</source>
        <translation>KALIBRIERPROTOKOLL…</translation>
    </message>
    <message>
        <source>Calibration log</source>
        <translation>Kalibrierprotokoll</translation>
    </message>
</context>
<context>
    <name>CALIBP2</name>
    <message>
        <source>Calibration to Other System</source>
        <translation>Kalibrierung auf ein anderes Messsystem</translation>
    </message>
    <message>
        <source>MEASURED VALUES</source>
        <translation>MESSWERTE</translation>
    </message>
    <message>
        <source>GF RAW</source>
        <translation>GF ROH</translation>
    </message>
    <message>
        <source>Raw gloss factor</source>
        <translation>Roher Glanzgrad</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <source>MEASURE</source>
        <translation>MESSEN</translation>
    </message>
    <message>
        <source>Measure raw gloss factor of the sample</source>
        <translation>Rohen Glanzgrad der Probe messen</translation>
    </message>
    <message>
        <source>ASSIGN GF RAW</source>
        <translation>GF ROH ÜBERNEHMEN</translation>
    </message>
    <message>
        <source>Assign raw gloss factor to selected cell</source>
        <translation>Rohen Glanzgrad in die gewählte Zelle übernehmen</translation>
    </message>
    <message>
        <source>Measured value pairs</source>
        <translation>Gemessene Wertepaare</translation>
    </message>
    <message>
        <source>TARVO-VALUE</source>
        <translation>TARVO-WERT</translation>
    </message>
    <message>
        <source>OTHER SYSTEM</source>
        <translation>ANDERES SYSTEM</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>11</source>
        <translation>11</translation>
    </message>
    <message>
        <source>12</source>
        <translation>12</translation>
    </message>
    <message>
        <source>13</source>
        <translation>13</translation>
    </message>
    <message>
        <source>14</source>
        <translation>14</translation>
    </message>
    <message>
        <source>15</source>
        <translation>15</translation>
    </message>
    <message>
        <source>16</source>
        <translation>16</translation>
    </message>
    <message>
        <source>17</source>
        <translation>17</translation>
    </message>
    <message>
        <source>18</source>
        <translation>18</translation>
    </message>
    <message>
        <source>19</source>
        <translation>19</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>21</source>
        <translation>21</translation>
    </message>
    <message>
        <source>22</source>
        <translation>22</translation>
    </message>
    <message>
        <source>23</source>
        <translation>23</translation>
    </message>
    <message>
        <source>24</source>
        <translation>24</translation>
    </message>
    <message>
        <source>0.0</source>
        <translation>0.0</translation>
    </message>
    <message>
        <source>-1.0</source>
        <translation>-1.0</translation>
    </message>
    <message>
        <source>2000.0</source>
        <translation>2000.0</translation>
    </message>
    <message>
        <source>RESET TABLE</source>
        <translation>TABELLE LEEREN</translation>
    </message>
    <message>
        <source>Reset calibration table</source>
        <translation>Kalibriertabelle leeren</translation>
    </message>
    <message>
        <source>LOAD…</source>
        <translation>LADEN…</translation>
    </message>
    <message>
        <source>Load calibration table</source>
        <translation>Kalibriertabelle laden</translation>
    </message>
    <message>
        <source>SAVE…</source>
        <translation>SPEICHERN…</translation>
    </message>
    <message>
        <source>Save calibration table</source>
        <translation>Kalibriertabelle speichern</translation>
    </message>
    <message>
        <source>CALIBRATION CURVE</source>
        <translation>KALIBRIERKURVE</translation>
    </message>
    <message>
        <source>Calibration curve</source>
        <translation>Kalibrierkurve</translation>
    </message>
    <message>
        <source>CALCULATE</source>
        <translation>BERECHNEN</translation>
    </message>
    <message>
        <source>Calculate calibration curve</source>
        <translation>Kalibrierkurve berechnen</translation>
    </message>
    <message>
        <source>SEND TO SENSOR</source>
        <translation>AN SENSOR SENDEN</translation>
    </message>
    <message>
        <source>Send calibration curve to sensor</source>
        <translation>Kalibrierkurve an den Sensor senden</translation>
    </message>
    <message>
        <source>CLOSE CALIBRATION</source>
        <translation>KALIBRIERUNG SCHLIESSEN</translation>
    </message>
    <message>
        <source>Close calibration</source>
        <translation>Kalibrierung schließen</translation>
    </message>
</context>
<context>
    <name>CalibCurve</name>
    <message>
        <source>a number</source>
        <translation>eine Zahl</translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <source>&quot;%1&quot; was not taken: a cell holds a number such as 12.5, with &quot;.&quot; as decimal point, or -1. The cell keeps %2.</source>
        <translation>„%1“ wurde nicht übernommen: Eine Zelle enthält eine Zahl wie 12.5 mit „.“ als Dezimalpunkt, oder -1. Die Zelle behält %2.</translation>
    </message>
    <message>
        <source>Cell value out of range! <byte value="xd"/>
TARVO-VALUE: 0.0 to 2000.0 (row 1: 0.0, row 24: 2000.0). <byte value="xd"/>
Other system: 0.0 to 3276.7. <byte value="xd"/>
Not used cells: -1.</source>
        <translation>Zellenwert außerhalb des Bereichs! <byte value="xd"/>
TARVO-WERT: 0.0 bis 2000.0 (Zeile 1: 0.0, Zeile 24: 2000.0). <byte value="xd"/>
Anderes System: 0.0 bis 3276.7. <byte value="xd"/>
Nicht benutzte Zellen: -1.</translation>
    </message>
    <message>
        <source>TARVO-VALUE (GF RAW)</source>
        <translation>TARVO-WERT (GF ROH)</translation>
    </message>
    <message>
        <source>other system</source>
        <translation>anderes System</translation>
    </message>
    <message>
        <source>Calibration to another system</source>
        <translation>Kalibrierung auf ein anderes Messsystem</translation>
    </message>
    <message>
        <source> Make sure that the sensor shines 
 on the reference target with gloss factor 100 units! </source>
        <translation> Der Sensor muss auf das 
 Referenznormal mit Glanzgrad 100 leuchten! </translation>
    </message>
    <message>
        <source> Calibration can not be done. 
 No proper power value can be find. 
 Make sure that sensor shines on the reference 
 with gloss factor 100 units. 
 Make sure that the optical glasses are clean.</source>
        <translation> Die Kalibrierung ist nicht möglich. 
 Es wurde keine passende Sendeleistung gefunden. 
 Der Sensor muss auf das Referenznormal 
 mit Glanzgrad 100 leuchten. 
 Die optischen Gläser müssen sauber sein.</translation>
    </message>
    <message>
        <source> Calibration successful! 
 Calibration factors were sent to the EEPROM of the sensor. 
 Press CLOSE CALIBRATION to leave calibration panel. 
 Press CALIBRATE TO OTHER SYSTEM to calibrate sensor to an other system.</source>
        <translation> Kalibrierung erfolgreich! 
 Die Kalibrierfaktoren wurden in das EEPROM des Sensors geschrieben. 
 KALIBRIERUNG SCHLIESSEN verlässt das Kalibrierfenster. 
 AUF ANDERES SYSTEM KALIBRIEREN kalibriert den Sensor auf ein anderes Messsystem.</translation>
    </message>
    <message>
        <source>Was CALIBRATION WITH REF=100 OK?</source>
        <translation>War die KALIBRIERUNG MIT REF=100 in Ordnung?</translation>
    </message>
    <message>
        <source>calibration curve</source>
        <translation>Kalibrierkurve</translation>
    </message>
    <message>
        <source>identity</source>
        <translation>Identität</translation>
    </message>
    <message>
        <source>Cells GF=0.0 and GF=2000.0 must be set! <byte value="xd"/>
Default for row 0 is 0.0! <byte value="xd"/>
Default for row 2000.0 is 2000.0!</source>
        <translation>Die Zellen GF=0.0 und GF=2000.0 müssen gesetzt sein! <byte value="xd"/>
Vorgabe für Zeile 0 ist 0.0! <byte value="xd"/>
Vorgabe für Zeile 2000.0 ist 2000.0!</translation>
    </message>
    <message>
        <source>Both cells in a row must be set or disabled (-1).</source>
        <translation>Beide Zellen einer Zeile müssen gesetzt oder abgeschaltet (-1) sein.</translation>
    </message>
    <message>
        <source>No GF RAW measured yet! 
Put the sample under the sensor, press MEASURE, then ASSIGN GF RAW. 
The cell is unchanged.</source>
        <translation>Noch kein GF ROH gemessen! 
Die Probe unter den Sensor legen, MESSEN drücken, dann GF ROH ÜBERNEHMEN. 
Die Zelle bleibt unverändert.</translation>
    </message>
    <message>
        <source>Wrong cell selected! <byte value="xd"/>
Only cells in columne TARVO-VALUE can be selected! <byte value="xd"/>
But without cell 0 and cell 2000.0! </source>
        <translation>Falsche Zelle gewählt! <byte value="xd"/>
Nur Zellen der Spalte TARVO-WERT können gewählt werden! <byte value="xd"/>
Außer Zelle 0 und Zelle 2000.0! </translation>
    </message>
    <message>
        <source>Calculation successful. 
Calibration data can be saved to EEPROM of sensor.</source>
        <translation>Berechnung erfolgreich. 
Die Kalibrierdaten können in das EEPROM des Sensors geschrieben werden.</translation>
    </message>
    <message>
        <source>Calibration data were saved to EE.</source>
        <translation>Die Kalibrierdaten wurden in das EEPROM geschrieben.</translation>
    </message>
    <message>
        <source>Calibration failed.</source>
        <translation>Kalibrierung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Datas can not be saved. 
Check grid and repeat calculation.</source>
        <translation>Die Daten können nicht gespeichert werden. 
Tabelle prüfen und Berechnung wiederholen.</translation>
    </message>
    <message>
        <source>No such file.</source>
        <translation>Datei nicht vorhanden.</translation>
    </message>
    <message>
        <source>Calibration table not loaded. 
%1 
%2</source>
        <translation>Kalibriertabelle nicht geladen. 
%1 
%2</translation>
    </message>
    <message>
        <source>Calibration table not saved. 
%1 
%2</source>
        <translation>Kalibriertabelle nicht gespeichert. 
%1 
%2</translation>
    </message>
</context>
<context>
    <name>CalibrationLog</name>
    <message>
        <source>The calibration could not be written to the calibration log:
%1
%2
The earlier records are kept.</source>
        <translation>Die Kalibrierung konnte nicht in das Kalibrierprotokoll geschrieben werden:
%1
%2
Die früheren Einträge bleiben erhalten.</translation>
    </message>
    <message>
        <source>all sensors</source>
        <translation>alle Sensoren</translation>
    </message>
    <message>
        <source> — cannot be read: </source>
        <translation> — nicht lesbar: </translation>
    </message>
    <message numerus="yes">
        <source> — %n damaged line(s) skipped</source>
        <translation>
            <numerusform> — %n beschädigte Zeile übersprungen</numerusform>
            <numerusform> — %n beschädigte Zeilen übersprungen</numerusform>
        </translation>
    </message>
    <message>
        <source>The calibration interval could not be saved:
%1</source>
        <translation>Das Kalibrierintervall konnte nicht gespeichert werden:
%1</translation>
    </message>
    <message>
        <source>The log could not be exported:
%1
%2</source>
        <translation>Das Protokoll konnte nicht exportiert werden:
%1
%2</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) exported:
%1</source>
        <translation>
            <numerusform>%n Eintrag exportiert:
%1</numerusform>
            <numerusform>%n Einträge exportiert:
%1</numerusform>
        </translation>
    </message>
    <message>
        <source>Select a calibration in the list first.</source>
        <translation>Zuerst eine Kalibrierung in der Liste wählen.</translation>
    </message>
    <message>
        <source>The certificate could not be saved:
%1
%2</source>
        <translation>Das Zertifikat konnte nicht gespeichert werden:
%1
%2</translation>
    </message>
    <message>
        <source>Certificate saved:
%1</source>
        <translation>Zertifikat gespeichert:
%1</translation>
    </message>
    <message>
        <source>OPEN</source>
        <translation>ÖFFNEN</translation>
    </message>
    <message>
        <source>PRINT CERTIFICATE</source>
        <translation>ZERTIFIKAT DRUCKEN</translation>
    </message>
    <message>
        <source>reference-100</source>
        <translation>Referenz 100</translation>
    </message>
    <message>
        <source>other-system</source>
        <translation>anderes System</translation>
    </message>
    <message>
        <source>done</source>
        <translation>erledigt</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>CalibrationStatus</name>
    <message>
        <source>calibration due: none logged</source>
        <translation>Kalibrierung fällig: keine im Protokoll</translation>
    </message>
    <message>
        <source>calibration due since %1</source>
        <translation>Kalibrierung fällig seit %1</translation>
    </message>
</context>
<context>
    <name>ChartExport</name>
    <message>
        <source>Could not write %1:
%2</source>
        <translation>%1 konnte nicht geschrieben werden:
%2</translation>
    </message>
    <message>
        <source>Save the chart as a PNG picture or its values as a CSV file</source>
        <translation>Das Diagramm als PNG-Bild oder seine Werte als CSV-Datei speichern</translation>
    </message>
    <message>
        <source>Save chart</source>
        <translation>Diagramm speichern</translation>
    </message>
    <message>
        <source>Save chart: </source>
        <translation>Diagramm speichern: </translation>
    </message>
    <message>
        <source>Save picture as PNG…	</source>
        <translation>Bild als PNG speichern…	</translation>
    </message>
    <message>
        <source>Export values as CSV…	</source>
        <translation>Werte als CSV exportieren…	</translation>
    </message>
    <message>
        <source> to </source>
        <translation> bis </translation>
    </message>
    <message>
        <source>taken </source>
        <translation>aufgenommen </translation>
    </message>
    <message>
        <source>saved </source>
        <translation>gespeichert </translation>
    </message>
    <message>
        <source>Save chart as PNG picture</source>
        <translation>Diagramm als PNG-Bild speichern</translation>
    </message>
    <message>
        <source>Export chart values as CSV</source>
        <translation>Diagrammwerte als CSV exportieren</translation>
    </message>
</context>
<context>
    <name>Charts</name>
    <message>
        <source> (zoomed: double-click shows all)</source>
        <translation> (vergrößert: Doppelklick zeigt alles)</translation>
    </message>
</context>
<context>
    <name>ComboBox</name>
    <message>
        <source> history</source>
        <translation> – Verlauf</translation>
    </message>
    <message>
        <source>Entries used before; choosing one puts it into the field.</source>
        <translation>Früher benutzte Einträge; die Wahl eines Eintrags setzt ihn in das Feld.</translation>
    </message>
</context>
<context>
    <name>ConnectionFault</name>
    <message>
        <source>This computer has no serial port %1: choose a port number that shows a device, then TRY TO CONNECT.</source>
        <translation>Dieser Rechner hat keine serielle Schnittstelle %1: Eine Portnummer wählen, die ein Gerät zeigt, dann VERBINDEN.</translation>
    </message>
    <message>
        <source>%1 is in use by another program (another copy of this program, a terminal program): close it, then TRY TO CONNECT.</source>
        <translation>%1 wird von einem anderen Programm benutzt (einer weiteren Kopie dieses Programms, einem Terminalprogramm): Es schließen, dann VERBINDEN.</translation>
    </message>
    <message>
        <source>Access to %1 was refused. On Linux, add your user to the dialout group (sudo usermod -aG dialout $USER), then log out and in again.</source>
        <translation>Der Zugriff auf %1 wurde verweigert. Unter Linux den Benutzer in die Gruppe dialout aufnehmen (sudo usermod -aG dialout $USER), dann ab- und wieder anmelden.</translation>
    </message>
    <message>
        <source>Access to %1 was refused: ask the administrator for the right to use it.</source>
        <translation>Der Zugriff auf %1 wurde verweigert: Den Administrator um das Recht bitten, die Schnittstelle zu benutzen.</translation>
    </message>
    <message>
        <source>%1 is not there (an unplugged USB adapter?): plug it in or choose another port, then TRY TO CONNECT.</source>
        <translation>%1 ist nicht vorhanden (ein abgezogener USB-Adapter?): Ihn einstecken oder einen anderen Port wählen, dann VERBINDEN.</translation>
    </message>
    <message>
        <source>%1 could not be opened.</source>
        <translation>%1 konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Connection refused by %1: the computer is there, but nothing takes connections on port %2. Check the port number, then TRY TO CONNECT.</source>
        <translation>Verbindung von %1 abgewiesen: Der Rechner ist erreichbar, aber an Port %2 nimmt nichts Verbindungen an. Die Portnummer prüfen, dann VERBINDEN.</translation>
    </message>
    <message>
        <source>Host not found: no computer is known by the name &quot;%1&quot;. Check the server name, or type its IP address.</source>
        <translation>Rechner nicht gefunden: Kein Rechner ist unter dem Namen „%1“ bekannt. Den Servernamen prüfen oder seine IP-Adresse eingeben.</translation>
    </message>
    <message>
        <source>No answer within 5 s from %1: check that the sensor is switched on and on this network, and the server address.</source>
        <translation>Keine Antwort von %1 innerhalb von 5 s: Prüfen, ob der Sensor eingeschaltet und in diesem Netz ist, und die Serveradresse prüfen.</translation>
    </message>
    <message>
        <source>Network unreachable: this computer has no way to %1. Check its network connection.</source>
        <translation>Netz nicht erreichbar: Dieser Rechner hat keinen Weg zu %1. Seine Netzverbindung prüfen.</translation>
    </message>
    <message>
        <source>Type the sensor&apos;s server name or IP address, then TRY TO CONNECT.</source>
        <translation>Servernamen oder IP-Adresse des Sensors eingeben, dann VERBINDEN.</translation>
    </message>
    <message>
        <source>Type a port number from 1 to 65535, then TRY TO CONNECT.</source>
        <translation>Eine Portnummer von 1 bis 65535 eingeben, dann VERBINDEN.</translation>
    </message>
    <message>
        <source>The connection to %1 failed.</source>
        <translation>Die Verbindung zu %1 ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>%1 went away (an unplugged USB adapter?): plug it in, then TRY TO CONNECT.</source>
        <translation>%1 ist verschwunden (ein abgezogener USB-Adapter?): Ihn einstecken, dann VERBINDEN.</translation>
    </message>
    <message>
        <source>%1 took the connection and closed it again before the sensor identified itself.</source>
        <translation>%1 hat die Verbindung angenommen und wieder geschlossen, bevor sich der Sensor meldete.</translation>
    </message>
    <message>
        <source>The line sends back what it is sent: no sensor, a loop-back plug or a modem echo. Connect the sensor to %1, or choose the sensor&apos;s port or address.</source>
        <translation>Die Leitung sendet zurück, was sie erhält: kein Sensor, ein Rückkopplungsstecker oder ein Modem-Echo. Den Sensor an %1 anschließen oder Port bzw. Adresse des Sensors wählen.</translation>
    </message>
    <message>
        <source>%1 opened, but no sensor answered within %2: check the cable, that the sensor is switched on, and the port number.</source>
        <translation>%1 geöffnet, aber kein Sensor hat innerhalb von %2 geantwortet: Kabel, Einschalten des Sensors und Portnummer prüfen.</translation>
    </message>
    <message>
        <source>%1 took the connection, but no sensor answered within %2: check that this is the sensor&apos;s address and port.</source>
        <translation>%1 hat die Verbindung angenommen, aber kein Sensor hat innerhalb von %2 geantwortet: Prüfen, ob dies Adresse und Port des Sensors sind.</translation>
    </message>
    <message>
        <source>Something on %1 answered, but not as the sensor does: check that this is the sensor%2.</source>
        <translation>Etwas an %1 hat geantwortet, aber nicht wie der Sensor: Prüfen, ob dies der Sensor ist%2.</translation>
    </message>
    <message>
        <source> and that nothing else sends on the line</source>
        <translation> und ob sonst nichts auf der Leitung sendet</translation>
    </message>
    <message>
        <source>No sensor answered on RS-232 port %1: choose the port or TCP/IP, then TRY TO CONNECT</source>
        <translation>Kein Sensor hat an RS-232-Port %1 geantwortet: Den Port oder TCP/IP wählen, dann VERBINDEN</translation>
    </message>
    <message>
        <source>serial port %1</source>
        <translation>serielle Schnittstelle %1</translation>
    </message>
    <message>
        <source>the line sends back what it is sent: no sensor, a loop-back plug or a modem echo</source>
        <translation>die Leitung sendet zurück, was sie bekommt: kein Sensor, ein Rückschleifstecker oder ein Modem-Echo</translation>
    </message>
    <message>
        <source>serial port %1 (%2)</source>
        <translation>serielle Schnittstelle %1 (%2)</translation>
    </message>
    <message>
        <source>connection refused by %1</source>
        <translation>Verbindung von %1 abgewiesen</translation>
    </message>
    <message>
        <source>the port went away</source>
        <translation>die Schnittstelle ist verschwunden</translation>
    </message>
    <message>
        <source>connection closed by the sensor</source>
        <translation>Verbindung vom Sensor geschlossen</translation>
    </message>
    <message>
        <source>no device has this number</source>
        <translation>kein Gerät hat diese Nummer</translation>
    </message>
    <message>
        <source>port in use by another program</source>
        <translation>Schnittstelle von einem anderen Programm belegt</translation>
    </message>
    <message>
        <source>permission denied (add yourself to the dialout group)</source>
        <translation>Zugriff verweigert (sich der Gruppe dialout hinzufügen)</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>no such device</source>
        <translation>Gerät nicht vorhanden</translation>
    </message>
    <message>
        <source>connection refused</source>
        <translation>Verbindung abgewiesen</translation>
    </message>
    <message>
        <source>host not found</source>
        <translation>Rechner nicht gefunden</translation>
    </message>
    <message>
        <source>no answer within 5 s</source>
        <translation>keine Antwort innerhalb von 5 s</translation>
    </message>
    <message>
        <source>network unreachable</source>
        <translation>Netz nicht erreichbar</translation>
    </message>
    <message>
        <source>out of system resources</source>
        <translation>keine Systemressourcen mehr frei</translation>
    </message>
    <message>
        <source>no server given</source>
        <translation>kein Server angegeben</translation>
    </message>
    <message>
        <source>port number must be 1 to 65535</source>
        <translation>Portnummer muss zwischen 1 und 65535 liegen</translation>
    </message>
    <message>
        <source>the connection failed</source>
        <translation>die Verbindung ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>%1 bytes came back instead of %2</source>
        <translation>%1 Bytes kamen zurück statt %2</translation>
    </message>
    <message>
        <source>no reply within %1</source>
        <translation>keine Antwort innerhalb von %1</translation>
    </message>
    <message>
        <source>only %1 of %2 bytes came back within %3</source>
        <translation>nur %1 von %2 Bytes kamen innerhalb von %3 zurück</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>Record files</source>
        <translation>Aufzeichnungsdateien</translation>
    </message>
    <message>
        <source>Parameter files</source>
        <translation>Parameterdateien</translation>
    </message>
    <message>
        <source>Calibration tables</source>
        <translation>Kalibriertabellen</translation>
    </message>
    <message>
        <source>Equation files</source>
        <translation>Gleichungsdateien</translation>
    </message>
    <message>
        <source>Text files</source>
        <translation>Textdateien</translation>
    </message>
    <message>
        <source>PNG pictures</source>
        <translation>PNG-Bilder</translation>
    </message>
    <message>
        <source>CSV files</source>
        <translation>CSV-Dateien</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>ATTENTION!</source>
        <translation>ACHTUNG!</translation>
    </message>
    <message>
        <source>INFO!</source>
        <translation>INFO!</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>CONFIRM!</source>
        <translation>BESTÄTIGEN!</translation>
    </message>
    <message>
        <source>TCP Client</source>
        <translation>TCP-Client</translation>
    </message>
    <message>
        <source>START CALIBRATION!</source>
        <translation>KALIBRIERUNG STARTEN!</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>trace</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>equation</source>
        <translation>Gleichung</translation>
    </message>
    <message>
        <source>calib</source>
        <translation>Kalibrierung</translation>
    </message>
    <message>
        <source>REPORT!</source>
        <translation>BERICHT!</translation>
    </message>
    <message>
        <source>FILENAME!</source>
        <translation>DATEINAME!</translation>
    </message>
    <message>
        <source>EXPORT CALIBRATION LOG</source>
        <translation>KALIBRIERPROTOKOLL EXPORTIEREN</translation>
    </message>
    <message>
        <source>CERTIFICATE</source>
        <translation>ZERTIFIKAT</translation>
    </message>
</context>
<context>
    <name>EquationFile</name>
    <message>
        <source>a number</source>
        <translation>eine Zahl</translation>
    </message>
    <message>
        <source>Line %1: the file holds more than %2 numbers</source>
        <translation>Zeile %1: Die Datei enthält mehr als %2 Zahlen</translation>
    </message>
    <message>
        <source>it holds %1 numbers instead of %2</source>
        <translation>sie enthält %1 statt %2 Zahlen</translation>
    </message>
    <message>
        <source>%1 = %2 lies outside %3 … %4</source>
        <translation>%1 = %2 liegt außerhalb von %3 … %4</translation>
    </message>
    <message>
        <source>No such file</source>
        <translation>Datei nicht vorhanden</translation>
    </message>
</context>
<context>
    <name>Exchange</name>
    <message>
        <source>TIMEOUT</source>
        <translation>KEINE ANTWORT</translation>
    </message>
    <message>
        <source> The sensor did not answer, so %1, pressed while it was awaited, 
 was not carried out. 

 Press it again once the sensor answers. </source>
        <translation> Der Sensor hat nicht geantwortet, daher wurde %1, während des Wartens gedrückt, 
 nicht ausgeführt. 

 Erneut drücken, sobald der Sensor antwortet. </translation>
    </message>
    <message>
        <source>late reply to command %1</source>
        <translation>verspätete Antwort auf Befehl %1</translation>
    </message>
    <message>
        <source>a frame of command %1, not the reply awaited</source>
        <translation>ein Rahmen von Befehl %1, nicht die erwartete Antwort</translation>
    </message>
    <message>
        <source>a frame cut short</source>
        <translation>ein abgeschnittener Rahmen</translation>
    </message>
    <message>
        <source>bytes of no whole frame</source>
        <translation>Bytes ohne ganzen Rahmen</translation>
    </message>
</context>
<context>
    <name>FactorTransfer</name>
    <message>
        <source>%1 block %2</source>
        <translation>%1 Block %2</translation>
    </message>
    <message>
        <source>%1 to %2 new</source>
        <translation>%1 bis %2 neu</translation>
    </message>
    <message>
        <source>%1 perhaps</source>
        <translation>%1 vielleicht</translation>
    </message>
    <message>
        <source>%1 to %2 as before</source>
        <translation>%1 bis %2 wie zuvor</translation>
    </message>
</context>
<context>
    <name>FileIO</name>
    <message>
        <source>The file no longer exists.</source>
        <translation>Die Datei existiert nicht mehr.</translation>
    </message>
    <message>
        <source>The file is too large (%1 bytes).</source>
        <translation>Die Datei ist zu groß (%1 Bytes).</translation>
    </message>
    <message>
        <source>The file is too large.</source>
        <translation>Die Datei ist zu groß.</translation>
    </message>
</context>
<context>
    <name>GFPANEL</name>
    <message>
        <source>Gloss Factor</source>
        <translation>Glanzgrad</translation>
    </message>
    <message>
        <source>GF</source>
        <translation>GF</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Sensor identification</source>
        <translation>Sensorkennung</translation>
    </message>
    <message>
        <source>The sensor identification entered on the interface panel.</source>
        <translation>Die auf dem Schnittstellenfenster eingegebene Sensorkennung.</translation>
    </message>
    <message>
        <source>Gloss factor</source>
        <translation>Glanzgrad</translation>
    </message>
</context>
<context>
    <name>GRAPHP</name>
    <message>
        <source>Graph</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>VALUES</source>
        <translation>WERTE</translation>
    </message>
    <message>
        <source>SIGNAL</source>
        <translation>SIGNAL</translation>
    </message>
    <message>
        <source>Signal shown</source>
        <translation>Angezeigtes Signal</translation>
    </message>
    <message>
        <source>CH_REF</source>
        <translation>CH_REF</translation>
    </message>
    <message>
        <source>CH_DIR</source>
        <translation>CH_DIR</translation>
    </message>
    <message>
        <source>CH_DIF</source>
        <translation>CH_DIF</translation>
    </message>
    <message>
        <source>NORM</source>
        <translation>NORM</translation>
    </message>
    <message>
        <source>INT</source>
        <translation>INT</translation>
    </message>
    <message>
        <source>GF</source>
        <translation>GF</translation>
    </message>
    <message>
        <source>TEMP</source>
        <translation>TEMP</translation>
    </message>
    <message>
        <source>Reference channel</source>
        <translation>Referenzkanal</translation>
    </message>
    <message>
        <source>Reference channel CH_REF in the last value set.</source>
        <translation>Referenzkanal CH_REF im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>Direct channel</source>
        <translation>Direktkanal</translation>
    </message>
    <message>
        <source>Direct channel CH_DIR in the last value set.</source>
        <translation>Direktkanal CH_DIR im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>Diffuse channel</source>
        <translation>Diffuskanal</translation>
    </message>
    <message>
        <source>Diffuse channel CH_DIF in the last value set.</source>
        <translation>Diffuskanal CH_DIF im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>Norm</source>
        <translation>Norm</translation>
    </message>
    <message>
        <source>NORM in the last value set.</source>
        <translation>NORM im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensität</translation>
    </message>
    <message>
        <source>Intensity INT in the last value set.</source>
        <translation>Intensität INT im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>Gloss factor</source>
        <translation>Glanzgrad</translation>
    </message>
    <message>
        <source>Gloss factor GF in the last value set.</source>
        <translation>Glanzgrad GF im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>Temperature reading of the sensor in the last value set.</source>
        <translation>Temperaturwert des Sensors im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>Recorded signal graph</source>
        <translation>Grafik des aufgezeichneten Signals</translation>
    </message>
    <message>
        <source>Reference channel graph</source>
        <translation>Grafik Referenzkanal</translation>
    </message>
    <message>
        <source>Direct channel graph</source>
        <translation>Grafik Direktkanal</translation>
    </message>
    <message>
        <source>Diffuse channel graph</source>
        <translation>Grafik Diffuskanal</translation>
    </message>
    <message>
        <source>Norm graph</source>
        <translation>Grafik Norm</translation>
    </message>
    <message>
        <source>Intensity graph</source>
        <translation>Grafik Intensität</translation>
    </message>
    <message>
        <source>Gloss factor graph</source>
        <translation>Grafik Glanzgrad</translation>
    </message>
    <message>
        <source>Temperature graph</source>
        <translation>Grafik Temperatur</translation>
    </message>
</context>
<context>
    <name>Graphs</name>
    <message numerus="yes">
        <source>last %n value sets</source>
        <translation>
            <numerusform>letzter %n Wertesatz</numerusform>
            <numerusform>letzte %n Wertesätze</numerusform>
        </translation>
    </message>
    <message>
        <source>raw channels</source>
        <translation>Rohkanäle</translation>
    </message>
    <message>
        <source>RAW: CH_REF, CH_DIR, CH_DIF</source>
        <translation>ROH: CH_REF, CH_DIR, CH_DIF</translation>
    </message>
    <message>
        <source>profile point</source>
        <translation>Profilpunkt</translation>
    </message>
    <message>
        <source>light profile</source>
        <translation>Lichtprofil</translation>
    </message>
    <message>
        <source>Profile of the last piece</source>
        <translation>Profil des letzten Teils</translation>
    </message>
    <message>
        <source>value set</source>
        <translation>Wertesatz</translation>
    </message>
    <message>
        <source>tolerance, teach row %1</source>
        <translation>Toleranz, Teach-Zeile %1</translation>
    </message>
    <message>
        <source>X AXIS MIN must be lower than X AXIS MAX</source>
        <translation>X-ACHSE MIN muss kleiner als X-ACHSE MAX sein</translation>
    </message>
    <message>
        <source>Y AXIS MIN must be lower than Y AXIS MAX</source>
        <translation>Y-ACHSE MIN muss kleiner als Y-ACHSE MAX sein</translation>
    </message>
    <message>
        <source>upper %1 tolerance</source>
        <translation>obere %1-Toleranz</translation>
    </message>
    <message>
        <source>lower %1 tolerance</source>
        <translation>untere %1-Toleranz</translation>
    </message>
    <message>
        <source>profile</source>
        <translation>Profil</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>INFO!</source>
        <translation>INFO!</translation>
    </message>
    <message>
        <source> Displays the calculated norm value. 
 Formula for calculation: NORM = (CH_DIR*1000)/(CH_DIR+CH_DIF).</source>
        <translation> Zeigt den berechneten Normwert. 
 Berechnungsformel: NORM = (CH_DIR*1000)/(CH_DIR+CH_DIF).</translation>
    </message>
    <message>
        <source> Displays the intensity arriving at the receivers. 
 Formula for calculation: INT = (CH_DIR+CH_DIF)/2.</source>
        <translation> Zeigt die an den Empfängern ankommende Intensität. 
 Berechnungsformel: INT = (CH_DIR+CH_DIF)/2.</translation>
    </message>
    <message>
        <source> Displays the current intensity of CH_REF, CH_DIR, CH_DIF. </source>
        <translation> Zeigt die aktuelle Intensität von CH_REF, CH_DIR, CH_DIF. </translation>
    </message>
    <message>
        <source> Displays the RAW value of the direct reflection channel. 
 Raw value must be within 3250 and 3750 for calibration.</source>
        <translation> Zeigt den Rohwert des Kanals der direkten Reflexion. 
 Für die Kalibrierung muss der Rohwert zwischen 3250 und 3750 liegen.</translation>
    </message>
    <message>
        <source> Displays the currently detected vector number 
 in accordance with the row in the TEACH TABLE.</source>
        <translation> Zeigt die aktuell erkannte Vektornummer 
 entsprechend der Zeile in der TEACH-TABELLE.</translation>
    </message>
    <message>
        <source> Displays the peak to peak value of the current profile.</source>
        <translation> Zeigt den Spitze-Spitze-Wert des aktuellen Profils.</translation>
    </message>
    <message>
        <source> Displays the current gloss factor. 
 Double click opens a big display. 
 Close the big display with a right mouse click.</source>
        <translation> Zeigt den aktuellen Glanzgrad. 
 Doppelklick öffnet eine große Anzeige. 
 Die große Anzeige mit einem Rechtsklick schließen.</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source> Displays the RAW values of CH_REF, CH_DIR  and CH_DIF.</source>
        <translation> Zeigt die Rohwerte von CH_REF, CH_DIR und CH_DIF.</translation>
    </message>
    <message>
        <source> Displays serial interface status messages.</source>
        <translation> Zeigt die Statusmeldungen der Schnittstelle.</translation>
    </message>
    <message>
        <source> Starts data transfer (CH_REF, CH_DIR, CH_DIF, NORM, INT, V-No:) from sensor to PC. 
 The data are shown in the displays, bars and in the graph.
 Shortcut Key: F11. </source>
        <translation> Startet die Datenübertragung (CH_REF, CH_DIR, CH_DIF, NORM, INT, V-NR:) vom Sensor zum PC. 
 Die Daten erscheinen in den Anzeigen, Balken und in der Grafik.
 Tastenkürzel: F11. </translation>
    </message>
    <message>
        <source> Stops data transfer from sensor to PC.
 Shortcut Key: F12. </source>
        <translation> Stoppt die Datenübertragung vom Sensor zum PC.
 Tastenkürzel: F12. </translation>
    </message>
    <message>
        <source> Displays a signal selected with SOURCE.</source>
        <translation> Zeigt ein mit QUELLE gewähltes Signal.</translation>
    </message>
    <message>
        <source> Displays the GLOSSY FACTOR. 
 Left mouse double click on the Y-AXIS starts an auto zoom. 
 Left mouse click scales the Y-AXIS fix.</source>
        <translation> Zeigt den GLANZGRAD. 
 Doppelklick links auf die Y-ACHSE startet den Auto-Zoom. 
 Klick links skaliert die Y-ACHSE fest.</translation>
    </message>
    <message>
        <source> Displays the current profile of the last piece.
 Left mouse double click starts an auto zoom of X and Y Axis. 
 Left mouse click scales the AXIS fix.</source>
        <translation> Zeigt das aktuelle Profil des letzten Teils.
 Doppelklick links startet den Auto-Zoom der X- und Y-Achse. 
 Klick links skaliert die ACHSE fest.</translation>
    </message>
    <message>
        <source> Get Profile, of whole piece. </source>
        <translation> Profil des ganzen Teils holen. </translation>
    </message>
    <message>
        <source> Select a signal to be displayed in the graph.</source>
        <translation> Ein Signal für die Grafik wählen.</translation>
    </message>
    <message>
        <source> Open panel with graphical display.</source>
        <translation> Fenster mit der grafischen Anzeige öffnen.</translation>
    </message>
    <message>
        <source> Select Signal to be displayed in the graph. </source>
        <translation> Signal für die Grafik wählen. </translation>
    </message>
    <message>
        <source> Displays the signals selected with SIGNAL. </source>
        <translation> Zeigt die mit SIGNAL gewählten Signale. </translation>
    </message>
    <message>
        <source> All the parameters of the PC-User-Interface are transferred to the sensor or to a selectable file. 
 The target of the parameter transfer is determined by the select button (RAM, EEPROM, FILE). 
 Shortcut Key: F9. </source>
        <translation> Alle Parameter der PC-Oberfläche werden an den Sensor oder in eine wählbare Datei übertragen. 
 Das Ziel der Parameterübertragung bestimmt die Auswahltaste (RAM, EEPROM, DATEI). 
 Tastenkürzel: F9. </translation>
    </message>
    <message>
        <source> Sensor or file parameters are transferred to the PC-User-Interface. 
 The source of the parameter transfer is determined by the select button (RAM, EEPROM, FILE). 
 Shortcut Key: F10. </source>
        <translation> Parameter aus dem Sensor oder einer Datei werden in die PC-Oberfläche übertragen. 
 Die Quelle der Parameterübertragung bestimmt die Auswahltaste (RAM, EEPROM, DATEI). 
 Tastenkürzel: F10. </translation>
    </message>
    <message>
        <source> Select the source respectively the target for the parameter transfer.</source>
        <translation> Quelle bzw. Ziel der Parameterübertragung wählen.</translation>
    </message>
    <message>
        <source> Hide or show the TEACH TABLE.</source>
        <translation> TEACH-TABELLE aus- oder einblenden.</translation>
    </message>
    <message>
        <source>See Manual.</source>
        <translation>Siehe Handbuch.</translation>
    </message>
    <message>
        <source> Select the number of scanning values (measurement values) over which the raw signal is averaged.</source>
        <translation> Anzahl der Abtastwerte (Messwerte) wählen, über die das Rohsignal gemittelt wird.</translation>
    </message>
    <message>
        <source> Select the minimum pulse length when a digital output changes.</source>
        <translation> Minimale Impulslänge beim Wechsel eines Digitalausgangs wählen.</translation>
    </message>
    <message>
        <source> Select an intensity limit. 
 Evaluation is stopped, if the current intensity INT falls below this limit. 
 ERROR STATE is output (V-No: = 255).</source>
        <translation> Eine Intensitätsgrenze wählen. 
 Die Auswertung stoppt, wenn die aktuelle Intensität INT unter diese Grenze fällt. 
 Dann wird FEHLERZUSTAND ausgegeben (V-NR: = 255).</translation>
    </message>
    <message>
        <source> The sensor will be triggered internally, when CH_DIR 
 goes higher than self trigger treshold (ST TRSH) 
 and TRIGGER=SELF is selected.</source>
        <translation> Der Sensor wird intern getriggert, wenn CH_DIR 
 über die Selbsttrigger-Schwelle (ST-SCHWELLE) steigt 
 und TRIGGER=SELBST gewählt ist.</translation>
    </message>
    <message>
        <source> Select the intensity of the transmitter LED. 
 0 = no intensity,  1000 = full intensity.</source>
        <translation> Intensität der Sender-LED wählen. 
 0 = keine Intensität,  1000 = volle Intensität.</translation>
    </message>
    <message>
        <source> Select the profile range in [%], when 
 TRIGGER=SELF or TRIGGER=EXT3. 
 Push PROFILE to show the result.</source>
        <translation> Profilbereich in [%] wählen, wenn 
 TRIGGER=SELBST oder TRIGGER=EXT3. 
 PROFIL drücken, um das Ergebnis zu zeigen.</translation>
    </message>
    <message>
        <source> Select how to control the analog outputs. 
 Current output goes from 4mA to 20mA in the selected range. 
 Voltage output goes from 0V to 10V in the selected range.</source>
        <translation> Wählen, wie die Analogausgänge gesteuert werden. 
 Der Stromausgang geht im gewählten Bereich von 4 mA bis 20 mA. 
 Der Spannungsausgang geht im gewählten Bereich von 0 V bis 10 V.</translation>
    </message>
    <message>
        <source>Bias for gloss factor. 
 Sensor can be calibratet to an other System (See Manual). 
 OFF: GF = GF without Bias. 
 ON : GF = GF add with calibrated value of calculated bias. 
 ATTENTION! BIAS only works within GF=0 and GF=100.</source>
        <translation>Offset für den Glanzgrad. 
 Der Sensor kann auf ein anderes System kalibriert werden (siehe Handbuch). 
 AUS: GF = GF ohne Offset. 
 EIN: GF = GF plus kalibrierter Wert des berechneten Offsets. 
 ACHTUNG! OFFSET wirkt nur zwischen GF=0 und GF=100.</translation>
    </message>
    <message>
        <source> Select the operating mode of automatic power correction at the transmitter unit. 
 STAT: Transmitter power is constantly kept at the POWER-SLIDER value. 
 DYN : Transmitter power is dynamically tuned in accordance with the amount of radiation that 
       is diffusely reflected from the target. Sensor should not exceed the dynamic range.</source>
        <translation> Betriebsart der automatischen Leistungskorrektur des Senders wählen. 
 STAT: Die Sendeleistung bleibt fest auf dem Wert des LEISTUNGS-Schiebers. 
 DYN : Die Sendeleistung wird dynamisch nach der Strahlung nachgeführt, die 
       das Messobjekt diffus reflektiert. Der Sensor sollte den Dynamikbereich nicht überschreiten.</translation>
    </message>
    <message>
        <source> Select the trigger mode for the sensor. 
 CONT: Continuous evaluation (no trigger event required). 
 SELF: Self Trigger, when CH_DIR goes higher than ST TRSH --&gt;internal trigger. 
 Average will be calculated dynamically, dependent on the high time of internal trigger. 
 Evaluation will be done when internal trigger goes low. 
 The detected row (vector) will be hold at the output. 
 EXT1: Evaluation will be done during external trigger (IN0) is high. 
 When external trigger goes low, the last detected row (vector) will be hold at the output. 
 EXT2: Evaluation will be done during external trigger (IN0) is high. 
 When exernal trigger goes low, fail condition is output. 
 EXT3: Average will be calculated dynamically, dependent on the high time of the external trigger (IN0). 
 Evaluation will be done when external trigger (IN0) goes low. 
 The detected row (vector) will be hold at the output. 
 EXT4: Transmitter is aktiv when trigger (IN0) is high.</source>
        <translation> Triggermodus des Sensors wählen. 
 KONT: Fortlaufende Auswertung (kein Triggerereignis nötig). 
 SELBST: Selbsttrigger, wenn CH_DIR über ST-SCHWELLE steigt --&gt; interner Trigger. 
 Die Mittelung wird dynamisch aus der High-Zeit des internen Triggers berechnet. 
 Ausgewertet wird, wenn der interne Trigger auf Low geht. 
 Die erkannte Zeile (Vektor) wird am Ausgang gehalten. 
 EXT1: Ausgewertet wird, solange der externe Trigger (IN0) High ist. 
 Geht der externe Trigger auf Low, wird die zuletzt erkannte Zeile (Vektor) am Ausgang gehalten. 
 EXT2: Ausgewertet wird, solange der externe Trigger (IN0) High ist. 
 Geht der externe Trigger auf Low, wird der Fehlerzustand ausgegeben. 
 EXT3: Die Mittelung wird dynamisch aus der High-Zeit des externen Triggers (IN0) berechnet. 
 Ausgewertet wird, wenn der externe Trigger (IN0) auf Low geht. 
 Die erkannte Zeile (Vektor) wird am Ausgang gehalten. 
 EXT4: Der Sender ist aktiv, solange der Trigger (IN0) High ist.</translation>
    </message>
    <message>
        <source> Select how to control the 5 digital outputs. 
 BINARY   : If a vector (row 0-30 in the TEACH TABLE) is detected, 
            this vector is displayed in V-No: and is set binary to the digital outputs (OUT0-OUT4). 
 DIRECT LO: The maximum number of vectors to be taught is 5. 
            If a vector (row 0-4 in the TEACH TABLE) is detected, 
            the special digital output is set to LO, all others are HI. 
 DIRECT HI: The maximum number of vectors to be taught is 5. 
            If a vector (row 0-4 in the TEACH TABLE) is detected, 
            the special digital output is set to HI, all others are LO. 
 If no vector is detected, V-No: is 255.</source>
        <translation> Wählen, wie die 5 Digitalausgänge gesteuert werden. 
 BINÄR    : Wird ein Vektor (Zeile 0-30 der TEACH-TABELLE) erkannt, 
            erscheint er in V-NR: und wird binär an die Digitalausgänge (OUT0-OUT4) gelegt. 
 DIREKT LO: Höchstens 5 Vektoren können geteacht werden. 
            Wird ein Vektor (Zeile 0-4 der TEACH-TABELLE) erkannt, 
            geht sein Digitalausgang auf LO, alle anderen auf HI. 
 DIREKT HI: Höchstens 5 Vektoren können geteacht werden. 
            Wird ein Vektor (Zeile 0-4 der TEACH-TABELLE) erkannt, 
            geht sein Digitalausgang auf HI, alle anderen auf LO. 
 Wird kein Vektor erkannt, ist V-NR: 255.</translation>
    </message>
    <message>
        <source> Current measured values are assigned to the 
 TEACH TABLE row selected in the No.: function field.</source>
        <translation> Die aktuellen Messwerte werden der im Feld NR.: 
 gewählten Zeile der TEACH-TABELLE zugewiesen.</translation>
    </message>
    <message>
        <source> Reset the TEACH TABLE. 
 All cells are set to 0.</source>
        <translation> TEACH-TABELLE zurücksetzen. 
 Alle Zellen werden auf 0 gesetzt.</translation>
    </message>
    <message>
        <source> Select the number of vectors in the TEACH TABLE to be checked (beginning from row 0). 
 Aktive rows are labelled green, inaktive are labelled red. 
 If OUTMODE = BINARY the maximum number of vectors to be checked is 31. 
 If OUTMODE = DIRECT HI or DIRECT LO the maximum number of vectors is 5.</source>
        <translation> Anzahl der zu prüfenden Vektoren der TEACH-TABELLE wählen (ab Zeile 0). 
 Aktive Zeilen sind grün, inaktive rot markiert. 
 Bei AUSG.-MODUS = BINÄR werden höchstens 31 Vektoren geprüft. 
 Bei AUSG.-MODUS = DIREKT HI oder DIREKT LO höchstens 5.</translation>
    </message>
    <message>
        <source> Select the current number of a row in the TEACH TABLE for TEACH DATA TO.</source>
        <translation> Nummer der Zeile der TEACH-TABELLE für TEACH-DATEN NACH wählen.</translation>
    </message>
    <message>
        <source> Auto increment of Edit Field No.:</source>
        <translation> Feld NR.: selbsttätig erhöhen</translation>
    </message>
    <message>
        <source> Open a panel to monitor datas, 
 when TRIGGER = SELF, EXT1, EXT2 or EXT3.</source>
        <translation> Ein Fenster zur Überwachung der Daten öffnen, 
 wenn TRIGGER = SELBST, EXT1, EXT2 oder EXT3.</translation>
    </message>
    <message>
        <source> Displays the Trend of the gloss factor.</source>
        <translation> Zeigt den Trend des Glanzgrads.</translation>
    </message>
    <message>
        <source> Start monitoring of the gloss factor.</source>
        <translation> Überwachung des Glanzgrads starten.</translation>
    </message>
    <message>
        <source> Stop monitoring of the gloss factor.</source>
        <translation> Überwachung des Glanzgrads stoppen.</translation>
    </message>
    <message>
        <source> Reset the trend graph and displays.</source>
        <translation> Trendgrafik und Anzeigen zurücksetzen.</translation>
    </message>
    <message>
        <source> Open a big display, which shows the gloss factor.</source>
        <translation> Eine große Anzeige des Glanzgrads öffnen.</translation>
    </message>
    <message>
        <source> Open a big display, which shows the detected vector number.</source>
        <translation> Eine große Anzeige der erkannten Vektornummer öffnen.</translation>
    </message>
    <message>
        <source> Select the number of last scans to be shown.</source>
        <translation> Anzahl der letzten anzuzeigenden Messungen wählen.</translation>
    </message>
    <message>
        <source> Displays the mean gloss factor of the values, 
 which are shown in the graph.</source>
        <translation> Zeigt den mittleren Glanzgrad der Werte, 
 die in der Grafik gezeigt werden.</translation>
    </message>
    <message>
        <source> Displays the standard deviation from the mean value GF TREND, 
 which are shown in the graph.</source>
        <translation> Zeigt die Standardabweichung vom Mittelwert GF-TREND 
 der in der Grafik gezeigten Werte.</translation>
    </message>
    <message>
        <source> Displays in percent, how much parts within the graph, were bad.</source>
        <translation> Zeigt in Prozent, wie viele Teile in der Grafik schlecht waren.</translation>
    </message>
    <message>
        <source> Open recorder for data record. </source>
        <translation> Aufzeichnung für Messdaten öffnen. </translation>
    </message>
    <message>
        <source> Close recorder and return to scope. </source>
        <translation> Aufzeichnung schließen und zum Scope zurückkehren. </translation>
    </message>
    <message>
        <source> Select a record file for data save. </source>
        <translation> Eine Aufzeichnungsdatei zum Speichern der Daten wählen. </translation>
    </message>
    <message>
        <source> Shows the path of the record file. </source>
        <translation> Zeigt den Pfad der Aufzeichnungsdatei. </translation>
    </message>
    <message>
        <source> Start data record.</source>
        <translation> Datenaufzeichnung starten.</translation>
    </message>
    <message>
        <source> Stop data record.</source>
        <translation> Datenaufzeichnung stoppen.</translation>
    </message>
    <message>
        <source> Record one frame manually 
 and append to existing file. </source>
        <translation> Einen Frame von Hand aufzeichnen 
 und an die vorhandene Datei anhängen. </translation>
    </message>
    <message>
        <source> Select how to record data frame. </source>
        <translation> Wählen, wie Frames aufgezeichnet werden. </translation>
    </message>
    <message>
        <source> Choose a even interval for recording. 
 Minimum interval is 1 second. </source>
        <translation> Ein ganzzahliges Intervall für die Aufzeichnung wählen. 
 Das kleinste Intervall ist 1 Sekunde. </translation>
    </message>
    <message>
        <source> Choose how many Data should be recorded. </source>
        <translation> Wählen, wie viele Werte aufgezeichnet werden. </translation>
    </message>
    <message>
        <source> Displays the time for recording 
 when all VALUES will be recorded.</source>
        <translation> Zeigt die Dauer der Aufzeichnung, 
 bis alle WERTE aufgezeichnet sind.</translation>
    </message>
    <message>
        <source> Displays how many values are already recorded.</source>
        <translation> Zeigt, wie viele Werte schon aufgezeichnet sind.</translation>
    </message>
    <message>
        <source> Displays how many values remain to be recorded.</source>
        <translation> Zeigt, wie viele Werte noch aufzuzeichnen sind.</translation>
    </message>
    <message>
        <source> Displays the current gloss factor. </source>
        <translation> Zeigt den aktuellen Glanzgrad. </translation>
    </message>
    <message>
        <source> Button to calibrate the sensor </source>
        <translation> Taste zum Kalibrieren des Sensors </translation>
    </message>
    <message>
        <source> Starts calibration with Reference 100 units. </source>
        <translation> Startet die Kalibrierung auf die Referenz 100. </translation>
    </message>
    <message>
        <source> Close calibration panel and return to scope. </source>
        <translation> Kalibrierfenster schließen und zum Scope zurückkehren. </translation>
    </message>
    <message>
        <source> When calibration with REF=100 was OK, 
 a calibration to an other system can be done. 
 ATTENTION! BIAS only works within GF=0 and GF=100.</source>
        <translation> War die Kalibrierung mit REF=100 in Ordnung, 
 kann auf ein anderes System kalibriert werden. 
 ACHTUNG! OFFSET wirkt nur zwischen GF=0 und GF=100.</translation>
    </message>
    <message>
        <source> Insert measured values. 
 ATTENTION!!! Fill not used cells with -1.</source>
        <translation> Messwerte eintragen. 
 ACHTUNG!!! Nicht benutzte Zellen mit -1 füllen.</translation>
    </message>
    <message>
        <source> Displays the raw gloss factor measured with MEASURE. 
 ASSIGN GF RAW writes this value. 
 none: nothing measured since the panel was opened.</source>
        <translation> Zeigt den mit MESSEN gemessenen rohen Glanzgrad. 
 GF ROH ÜBERNEHMEN schreibt diesen Wert. 
 keiner: nichts gemessen, seit das Fenster geöffnet wurde.</translation>
    </message>
    <message>
        <source> Measures the sample under the sensor once, 
 with the settings of the calibration, 
 and shows its raw gloss factor in GF RAW.</source>
        <translation> Misst die Probe unter dem Sensor einmal 
 mit den Einstellungen der Kalibrierung 
 und zeigt ihren rohen Glanzgrad in GF ROH.</translation>
    </message>
    <message>
        <source> Assigne GF RAW value to selected cell in column TARVO-VALUE. 
 Select cell to be assigned with left mouse click.</source>
        <translation> Den Wert GF ROH in die gewählte Zelle der Spalte TARVO-WERT übernehmen. 
 Die Zelle mit einem Linksklick wählen.</translation>
    </message>
    <message>
        <source> Get calibration table from disk.</source>
        <translation> Kalibriertabelle von der Festplatte laden.</translation>
    </message>
    <message>
        <source> Save calibration table to disk.</source>
        <translation> Kalibriertabelle auf der Festplatte speichern.</translation>
    </message>
    <message>
        <source> Calculate calibration Data an display in graph.</source>
        <translation> Kalibrierdaten berechnen und in der Grafik zeigen.</translation>
    </message>
    <message>
        <source> Calibration Datas are send to the EEPROM of the senor.</source>
        <translation> Die Kalibrierdaten werden in das EEPROM des Sensors gesendet.</translation>
    </message>
    <message>
        <source> Set all Cells to -1 (not selected) </source>
        <translation> Alle Zellen auf -1 setzen (nicht gewählt) </translation>
    </message>
    <message>
        <source> Displays line of best fit. 
 Left double click enables to scale X and Y axis.</source>
        <translation> Zeigt die Ausgleichsgerade. 
 Doppelklick links erlaubt, X- und Y-Achse zu skalieren.</translation>
    </message>
    <message>
        <source> Open a panel to select an interface protocol.</source>
        <translation> Ein Fenster zur Wahl des Schnittstellenprotokolls öffnen.</translation>
    </message>
    <message>
        <source> Try to connect sensor.</source>
        <translation> Versuchen, den Sensor zu verbinden.</translation>
    </message>
    <message>
        <source> Accept settings and return to main panel.</source>
        <translation> Einstellungen übernehmen und zum Hauptfenster zurückkehren.</translation>
    </message>
    <message>
        <source> Return to main panel with old settings.</source>
        <translation> Mit den alten Einstellungen zum Hauptfenster zurückkehren.</translation>
    </message>
    <message>
        <source> Select RS232 or TCP/IP Interface. </source>
        <translation> Schnittstelle RS232 oder TCP/IP wählen. </translation>
    </message>
    <message>
        <source> Select a serial COM-PORT.</source>
        <translation> Einen seriellen COM-PORT wählen.</translation>
    </message>
    <message>
        <source> Select a Server by name or IP address.</source>
        <translation> Einen Server nach Name oder IP-Adresse wählen.</translation>
    </message>
    <message>
        <source> Select a port number.</source>
        <translation> Eine Portnummer wählen.</translation>
    </message>
    <message>
        <source> Insert sensor identification. 
 This ID will be displayed in some panels of the software.</source>
        <translation> Sensorkennung eingeben. 
 Diese ID erscheint auf einigen Fenstern des Programms.</translation>
    </message>
    <message>
        <source> Open the trace of every frame to and from the sensor (Ctrl+T).</source>
        <translation> Das Protokoll jedes Frames zum und vom Sensor öffnen (Strg+T).</translation>
    </message>
    <message>
        <source> Show only the records of one command.</source>
        <translation> Nur die Einträge eines Befehls zeigen.</translation>
    </message>
    <message>
        <source> Show only the records with one outcome.</source>
        <translation> Nur die Einträge mit einem Ergebnis zeigen.</translation>
    </message>
    <message>
        <source> Hold the table; the trace goes on recording.</source>
        <translation> Die Tabelle anhalten; das Protokoll zeichnet weiter auf.</translation>
    </message>
    <message>
        <source> Forget the records and counters so far.</source>
        <translation> Die bisherigen Einträge und Zähler verwerfen.</translation>
    </message>
    <message>
        <source> Save the records shown to a text file, one record a line.</source>
        <translation> Die gezeigten Einträge in eine Textdatei speichern, ein Eintrag je Zeile.</translation>
    </message>
    <message>
        <source> Copy the selected records to the clipboard, with the column names (Ctrl+C).</source>
        <translation> Die gewählten Einträge mit den Spaltennamen in die Zwischenablage kopieren (Strg+C).</translation>
    </message>
    <message>
        <source> The file the whole run is written to: start the program with --trace FILE.</source>
        <translation> Die Datei, in die der ganze Lauf geschrieben wird: das Programm mit --trace DATEI starten.</translation>
    </message>
    <message>
        <source> Displays the process capability Cp = (HIGH - LOW) / 6s of the parts in the graph, 
 against the band of teach row 1 (GF +/- GF TOL). From 25 parts on.</source>
        <translation> Zeigt die Prozessfähigkeit Cp = (OBEN - UNTEN) / 6s der Teile in der Grafik 
 gegen das Band der Teach-Zeile 1 (GF +/- GF-TOL). Ab 25 Teilen.</translation>
    </message>
    <message>
        <source> Displays the process capability Cpk = min(HIGH - mean, mean - LOW) / 3s 
 of the parts in the graph. From 25 parts on.</source>
        <translation> Zeigt die Prozessfähigkeit Cpk = min(OBEN - Mittel, Mittel - UNTEN) / 3s 
 der Teile in der Grafik. Ab 25 Teilen.</translation>
    </message>
    <message>
        <source> Displays how many parts the mean, deviation, Cp and Cpk are made of.</source>
        <translation> Zeigt, aus wie vielen Teilen Mittelwert, Abweichung, Cp und Cpk berechnet sind.</translation>
    </message>
    <message>
        <source> Show the calibration log: every calibration with its outcome, 
 its certificate, and the export as CSV. </source>
        <translation> Das Kalibrierprotokoll zeigen: jede Kalibrierung mit ihrem Ergebnis, 
 ihrem Zertifikat und dem Export als CSV. </translation>
    </message>
    <message>
        <source> Show the calibrations of one sensor, or of all. </source>
        <translation> Die Kalibrierungen eines Sensors oder aller zeigen. </translation>
    </message>
    <message>
        <source> Days from a successful calibration of this sensor until the next is due. 
 OFF: no interval. </source>
        <translation> Tage von einer erfolgreichen Kalibrierung dieses Sensors bis zur nächsten fälligen. 
 AUS: kein Intervall. </translation>
    </message>
    <message>
        <source> Shows where the calibration log is kept. </source>
        <translation> Zeigt, wo das Kalibrierprotokoll liegt. </translation>
    </message>
    <message>
        <source> Export the calibrations shown as a CSV file. </source>
        <translation> Die gezeigten Kalibrierungen als CSV-Datei exportieren. </translation>
    </message>
    <message>
        <source> Save the certificate of the selected calibration as PDF. </source>
        <translation> Das Zertifikat der gewählten Kalibrierung als PDF speichern. </translation>
    </message>
    <message>
        <source> Print the certificate of the selected calibration. </source>
        <translation> Das Zertifikat der gewählten Kalibrierung drucken. </translation>
    </message>
    <message>
        <source> Close the calibration log. </source>
        <translation> Das Kalibrierprotokoll schließen. </translation>
    </message>
    <message>
        <source> Make a PDF report of the record file: figures, histogram, 
 trend and events of the recording. </source>
        <translation> Einen PDF-Bericht der Aufzeichnungsdatei erstellen: Kennzahlen, Histogramm, 
 Trend und Ereignisse der Aufzeichnung. </translation>
    </message>
    <message>
        <source>Open the user guide</source>
        <translation>Benutzerhandbuch öffnen</translation>
    </message>
</context>
<context>
    <name>INTERFACEP</name>
    <message>
        <source>Interface</source>
        <translation>Schnittstelle</translation>
    </message>
    <message>
        <source>CONNECTION</source>
        <translation>VERBINDUNG</translation>
    </message>
    <message>
        <source>PROTOCOL</source>
        <translation>PROTOKOLL</translation>
    </message>
    <message>
        <source>Interface protocol</source>
        <translation>Schnittstellenprotokoll</translation>
    </message>
    <message>
        <source>RS-232</source>
        <translation>RS-232</translation>
    </message>
    <message>
        <source>TCP/IP</source>
        <translation>TCP/IP</translation>
    </message>
    <message>
        <source>COM PORT</source>
        <translation>COM-PORT</translation>
    </message>
    <message>
        <source>Serial port number</source>
        <translation>Nummer der seriellen Schnittstelle</translation>
    </message>
    <message>
        <source>Serial device</source>
        <translation>Serielles Gerät</translation>
    </message>
    <message>
        <source>SERVER</source>
        <translation>SERVER</translation>
    </message>
    <message>
        <source>Server address</source>
        <translation>Serveradresse</translation>
    </message>
    <message>
        <source>127.0.0.1</source>
        <translation>127.0.0.1</translation>
    </message>
    <message>
        <source>PORT</source>
        <translation>PORT</translation>
    </message>
    <message>
        <source>Server port number</source>
        <translation>Portnummer des Servers</translation>
    </message>
    <message>
        <source>10001</source>
        <translation>10001</translation>
    </message>
    <message>
        <source>SENSOR ID</source>
        <translation>SENSOR-ID</translation>
    </message>
    <message>
        <source>Sensor identification</source>
        <translation>Sensorkennung</translation>
    </message>
    <message>
        <source>optional text shown on the display panels</source>
        <translation>freier Text, der auf den Anzeigefenstern erscheint</translation>
    </message>
    <message>
        <source>Reconnect and resume</source>
        <translation>Neu verbinden und fortsetzen</translation>
    </message>
    <message>
        <source>Reconnect and resume after a lost connection</source>
        <translation>Nach Verbindungsverlust neu verbinden und fortsetzen</translation>
    </message>
    <message>
        <source>When checked, a lost connection is taken up again by itself, and live values, a recording or the monitor go on.</source>
        <translation>Wenn angekreuzt, wird eine verlorene Verbindung selbsttätig wieder aufgenommen, und Live-Werte, Aufzeichnung oder Trendüberwachung laufen weiter.</translation>
    </message>
    <message>
        <source>CHECK LINE AFTER</source>
        <translation>PRÜFEN NACH</translation>
    </message>
    <message>
        <source>Seconds without data before the line is checked</source>
        <translation>Sekunden ohne Daten, bevor die Leitung geprüft wird</translation>
    </message>
    <message>
        <source>When no data arrives for this many seconds while the sensor should send, the line is checked.</source>
        <translation>Kommen so viele Sekunden lang keine Daten, obwohl der Sensor senden sollte, wird die Leitung geprüft.</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>STOP RETRYING</source>
        <translation>AUFGEBEN</translation>
    </message>
    <message>
        <source>Stop retrying the connection</source>
        <translation>Verbindungsversuche beenden</translation>
    </message>
    <message>
        <source>Gives up taking the lost connection up again; TRY TO CONNECT on the interface panel tries again.</source>
        <translation>Gibt das Wiederaufnehmen der verlorenen Verbindung auf; VERBINDEN auf dem Schnittstellenfenster versucht es erneut.</translation>
    </message>
    <message>
        <source>STATUS</source>
        <translation>STATUS</translation>
    </message>
    <message>
        <source>Interface status</source>
        <translation>Schnittstellenstatus</translation>
    </message>
    <message>
        <source>Result of the last connection attempt: the sensor&apos;s identification, or what failed.</source>
        <translation>Ergebnis des letzten Verbindungsversuchs: die Kennung des Sensors oder was fehlschlug.</translation>
    </message>
    <message>
        <source>Interface advice</source>
        <translation>Hinweis zur Schnittstelle</translation>
    </message>
    <message>
        <source>EXCHANGES</source>
        <translation>AUSTAUSCHE</translation>
    </message>
    <message>
        <source>Exchanges on this connection</source>
        <translation>Austausche auf dieser Verbindung</translation>
    </message>
    <message>
        <source>Requests the sensor answered on this connection.</source>
        <translation>Anfragen, die der Sensor auf dieser Verbindung beantwortet hat.</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>TIME-OUTS</source>
        <translation>ZEITÜBERSCHR.</translation>
    </message>
    <message>
        <source>Time-outs on this connection</source>
        <translation>Zeitüberschreitungen auf dieser Verbindung</translation>
    </message>
    <message>
        <source>Requests the sensor did not answer in time on this connection.</source>
        <translation>Anfragen, die der Sensor auf dieser Verbindung nicht rechtzeitig beantwortet hat.</translation>
    </message>
    <message>
        <source>ECHO MISMATCHES</source>
        <translation>ECHOFEHLER</translation>
    </message>
    <message>
        <source>Echo mismatches on this connection</source>
        <translation>Echofehler auf dieser Verbindung</translation>
    </message>
    <message>
        <source>Replies that did not echo their request on this connection.</source>
        <translation>Antworten auf dieser Verbindung, die ihre Anfrage nicht wiederholten.</translation>
    </message>
    <message>
        <source>TRY TO CONNECT</source>
        <translation>VERBINDEN</translation>
    </message>
    <message>
        <source>Try to connect sensor</source>
        <translation>Verbindung zum Sensor herstellen</translation>
    </message>
    <message>
        <source>ACCEPT</source>
        <translation>ÜBERNEHMEN</translation>
    </message>
    <message>
        <source>Accept settings</source>
        <translation>Einstellungen übernehmen</translation>
    </message>
    <message>
        <source>DISCARD</source>
        <translation>VERWERFEN</translation>
    </message>
    <message>
        <source>Discard changes</source>
        <translation>Änderungen verwerfen</translation>
    </message>
    <message>
        <source>LANGUAGE</source>
        <translation>SPRACHE</translation>
    </message>
    <message>
        <source>Language of the program</source>
        <translation>Sprache des Programms</translation>
    </message>
    <message>
        <source>The language of the program&apos;s texts: the system&apos;s, English or German. A change applies at the next start.</source>
        <translation>Die Sprache der Texte des Programms: die des Systems, Englisch oder Deutsch. Eine Änderung gilt ab dem nächsten Start.</translation>
    </message>
    <message>
        <source>The language of the program&apos;s texts; a change applies at the next start.</source>
        <translation>Die Sprache der Texte des Programms; eine Änderung gilt ab dem nächsten Start.</translation>
    </message>
    <message>
        <source>SYSTEM</source>
        <translation>SYSTEM</translation>
    </message>
</context>
<context>
    <name>Link</name>
    <message>
        <source>TCP Client</source>
        <translation>TCP-Client</translation>
    </message>
    <message>
        <source>Server has closed connection!</source>
        <translation>Der Server hat die Verbindung geschlossen!</translation>
    </message>
    <message>
        <source>a frame could not be written</source>
        <translation>ein Rahmen konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>connection closed by the sensor</source>
        <translation>Verbindung vom Sensor geschlossen</translation>
    </message>
    <message>
        <source>the serial device %1 has gone</source>
        <translation>das serielle Gerät %1 ist verschwunden</translation>
    </message>
</context>
<context>
    <name>MONITORP</name>
    <message>
        <source>Trend Monitor</source>
        <translation>Trendüberwachung</translation>
    </message>
    <message>
        <source>SCANS</source>
        <translation>MESSUNGEN</translation>
    </message>
    <message>
        <source>Number of scans shown</source>
        <translation>Anzahl der angezeigten Messungen</translation>
    </message>
    <message>
        <source>STATISTICS</source>
        <translation>STATISTIK</translation>
    </message>
    <message>
        <source>GF</source>
        <translation>GF</translation>
    </message>
    <message>
        <source>Current gloss factor</source>
        <translation>Aktueller Glanzgrad</translation>
    </message>
    <message>
        <source>Gloss factor GF in the last value set.</source>
        <translation>Glanzgrad GF im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>PP</source>
        <translation>PP</translation>
    </message>
    <message>
        <source>Current peak to peak</source>
        <translation>Aktueller Spitze-Spitze-Wert</translation>
    </message>
    <message>
        <source>Profile peak to peak PP in the last value set.</source>
        <translation>Spitze-Spitze-Wert PP des Profils im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>GF TREND</source>
        <translation>GF-TREND</translation>
    </message>
    <message>
        <source>Mean gloss factor</source>
        <translation>Mittlerer Glanzgrad</translation>
    </message>
    <message>
        <source>STD DEV</source>
        <translation>STD.-ABW.</translation>
    </message>
    <message>
        <source>Standard deviation</source>
        <translation>Standardabweichung</translation>
    </message>
    <message>
        <source>BAD</source>
        <translation>SCHLECHT</translation>
    </message>
    <message>
        <source>Bad parts percent</source>
        <translation>Schlechtteile in Prozent</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>START</source>
        <translation>START</translation>
    </message>
    <message>
        <source>Start monitoring</source>
        <translation>Überwachung starten</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>Stop monitoring</source>
        <translation>Überwachung stoppen</translation>
    </message>
    <message>
        <source>RESET</source>
        <translation>ZURÜCKSETZEN</translation>
    </message>
    <message>
        <source>Reset trend</source>
        <translation>Trend zurücksetzen</translation>
    </message>
    <message>
        <source>GF DISPLAY</source>
        <translation>GF-ANZEIGE</translation>
    </message>
    <message>
        <source>Open big gloss factor display</source>
        <translation>Große Glanzgradanzeige öffnen</translation>
    </message>
    <message>
        <source>V-NO DISPLAY</source>
        <translation>V-NR-ANZEIGE</translation>
    </message>
    <message>
        <source>Open big vector number display</source>
        <translation>Große Vektornummernanzeige öffnen</translation>
    </message>
    <message>
        <source>GAPS</source>
        <translation>LÜCKEN</translation>
    </message>
    <message>
        <source>Connection gaps while monitoring</source>
        <translation>Verbindungslücken während der Überwachung</translation>
    </message>
    <message>
        <source>Times the connection was lost while monitoring.</source>
        <translation>Wie oft die Verbindung während der Überwachung verloren ging.</translation>
    </message>
    <message>
        <source>GAP TIME</source>
        <translation>LÜCKENZEIT</translation>
    </message>
    <message>
        <source>Length of the connection gaps in seconds</source>
        <translation>Dauer der Verbindungslücken in Sekunden</translation>
    </message>
    <message>
        <source>Seconds without a connection while monitoring, all gaps together.</source>
        <translation>Sekunden ohne Verbindung während der Überwachung, alle Lücken zusammen.</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Connection state</source>
        <translation>Verbindungszustand</translation>
    </message>
    <message>
        <source>color: #b00000; font-weight: bold;</source>
        <translation>color: #b00000; font-weight: bold;</translation>
    </message>
    <message>
        <source>STOP RETRYING</source>
        <translation>AUFGEBEN</translation>
    </message>
    <message>
        <source>Stop retrying the connection</source>
        <translation>Verbindungsversuche beenden</translation>
    </message>
    <message>
        <source>Gives up taking the lost connection up again; TRY TO CONNECT on the interface panel tries again.</source>
        <translation>Gibt das Wiederaufnehmen der verlorenen Verbindung auf; VERBINDEN auf dem Schnittstellenfenster versucht es erneut.</translation>
    </message>
    <message>
        <source>Parameters changed in the sensor</source>
        <translation>Parameter im Sensor geändert</translation>
    </message>
    <message>
        <source>background: #ffe08a; color: #000000; padding: 3px;</source>
        <translation>background: #ffe08a; color: #000000; padding: 3px;</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Dismiss the notice of changed parameters</source>
        <translation>Hinweis auf geänderte Parameter schließen</translation>
    </message>
    <message>
        <source>Hides the notice that the sensor came back with other parameters.</source>
        <translation>Blendet den Hinweis aus, dass der Sensor mit anderen Parametern zurückkam.</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Sensor identification</source>
        <translation>Sensorkennung</translation>
    </message>
    <message>
        <source>The sensor identification entered on the interface panel.</source>
        <translation>Die auf dem Schnittstellenfenster eingegebene Sensorkennung.</translation>
    </message>
    <message>
        <source>GLOSS FACTOR TREND</source>
        <translation>GLANZGRAD-TREND</translation>
    </message>
    <message>
        <source>Gloss factor trend</source>
        <translation>Glanzgrad-Trend</translation>
    </message>
    <message>
        <source>CP</source>
        <translation>CP</translation>
    </message>
    <message>
        <source>Process capability Cp</source>
        <translation>Prozessfähigkeit Cp</translation>
    </message>
    <message>
        <source>–</source>
        <translation>–</translation>
    </message>
    <message>
        <source>CPK</source>
        <translation>CPK</translation>
    </message>
    <message>
        <source>Process capability Cpk</source>
        <translation>Prozessfähigkeit Cpk</translation>
    </message>
    <message>
        <source>PARTS</source>
        <translation>TEILE</translation>
    </message>
    <message>
        <source>Parts counted</source>
        <translation>Gezählte Teile</translation>
    </message>
</context>
<context>
    <name>Monitor</name>
    <message>
        <source>No tolerance band in force: Cp and Cpk need a low and a high limit.</source>
        <translation>Kein Toleranzband aktiv: Cp und Cpk brauchen eine untere und eine obere Grenze.</translation>
    </message>
    <message>
        <source>Only %1 parts: Cp and Cpk need at least %2.</source>
        <translation>Nur %1 Teile: Cp und Cpk brauchen mindestens %2.</translation>
    </message>
    <message>
        <source>All parts have the same value: with no spread Cp and Cpk are not defined.</source>
        <translation>Alle Teile haben denselben Wert: Ohne Streuung sind Cp und Cpk nicht definiert.</translation>
    </message>
    <message numerus="yes">
        <source>From %n parts.</source>
        <translation>
            <numerusform>Aus %n Teil.</numerusform>
            <numerusform>Aus %n Teilen.</numerusform>
        </translation>
    </message>
    <message>
        <source>last scans</source>
        <translation>letzte Messungen</translation>
    </message>
    <message>
        <source>GF trend</source>
        <translation>GF-Trend</translation>
    </message>
    <message>
        <source>value set</source>
        <translation>Wertesatz</translation>
    </message>
</context>
<context>
    <name>NumberText</name>
    <message>
        <source>one number</source>
        <translation>eine Zahl</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1, Zeile %2</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not %3.</source>
        <translation>%1: „%2“ ist nicht %3.</translation>
    </message>
</context>
<context>
    <name>P</name>
    <message>
        <source>TARVO-Scope 4.3</source>
        <translation>TARVO-Scope 4.3</translation>
    </message>
    <message>
        <source>Banner</source>
        <translation>Banner</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>SENSOR PARAMETERS</source>
        <translation>SENSORPARAMETER</translation>
    </message>
    <message>
        <source>RAM</source>
        <translation>RAM</translation>
    </message>
    <message>
        <source>Transfer target sensor RAM</source>
        <translation>Übertragungsziel Sensor-RAM</translation>
    </message>
    <message>
        <source>Parameter transfer to and from the sensor RAM</source>
        <translation>Parameterübertragung in das und aus dem RAM des Sensors</translation>
    </message>
    <message>
        <source>EEPROM</source>
        <translation>EEPROM</translation>
    </message>
    <message>
        <source>Transfer target sensor EEPROM</source>
        <translation>Übertragungsziel Sensor-EEPROM</translation>
    </message>
    <message>
        <source>Parameter transfer to and from the sensor EEPROM</source>
        <translation>Parameterübertragung in das und aus dem EEPROM des Sensors</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>DATEI</translation>
    </message>
    <message>
        <source>Transfer target parameter file</source>
        <translation>Übertragungsziel Parameterdatei</translation>
    </message>
    <message>
        <source>Parameter transfer to and from a parameter file</source>
        <translation>Parameterübertragung in eine und aus einer Parameterdatei</translation>
    </message>
    <message>
        <source>GET</source>
        <translation>LESEN</translation>
    </message>
    <message>
        <source>Get parameters</source>
        <translation>Parameter lesen</translation>
    </message>
    <message>
        <source>F10</source>
        <translation>F10</translation>
    </message>
    <message>
        <source>Get parameters (F10)</source>
        <translation>Parameter lesen (F10)</translation>
    </message>
    <message>
        <source>SEND</source>
        <translation>SENDEN</translation>
    </message>
    <message>
        <source>Send parameters</source>
        <translation>Parameter senden</translation>
    </message>
    <message>
        <source>F9</source>
        <translation>F9</translation>
    </message>
    <message>
        <source>Send parameters (F9)</source>
        <translation>Parameter senden (F9)</translation>
    </message>
    <message>
        <source>PARAMETER VIEW</source>
        <translation>PARAMETERANSICHT</translation>
    </message>
    <message>
        <source>Show parameters instead of teach table</source>
        <translation>Parameter statt Teach-Tabelle zeigen</translation>
    </message>
    <message>
        <source>TRANSMITTER</source>
        <translation>SENDER</translation>
    </message>
    <message>
        <source>Transmitter</source>
        <translation>Sender</translation>
    </message>
    <message>
        <source>POWER MODE</source>
        <translation>LEISTUNGSMODUS</translation>
    </message>
    <message>
        <source>Power mode</source>
        <translation>Leistungsmodus</translation>
    </message>
    <message>
        <source>STAT</source>
        <translation>STAT</translation>
    </message>
    <message>
        <source>DYN</source>
        <translation>DYN</translation>
    </message>
    <message>
        <source>POWER</source>
        <translation>LEISTUNG</translation>
    </message>
    <message>
        <source>Transmitter power</source>
        <translation>Sendeleistung</translation>
    </message>
    <message>
        <source>Transmitter power value</source>
        <translation>Wert der Sendeleistung</translation>
    </message>
    <message>
        <source>POWER as a number: type it and press Enter.</source>
        <translation>LEISTUNG als Zahl: eintippen und Enter drücken.</translation>
    </message>
    <message>
        <source>AVERAGE</source>
        <translation>MITTELUNG</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Mittelung</translation>
    </message>
    <message>
        <source>INT LIMIT</source>
        <translation>INT-GRENZE</translation>
    </message>
    <message>
        <source>Intensity limit</source>
        <translation>Intensitätsgrenze</translation>
    </message>
    <message>
        <source>EVALUATION</source>
        <translation>AUSWERTUNG</translation>
    </message>
    <message>
        <source>Evaluation</source>
        <translation>Auswertung</translation>
    </message>
    <message>
        <source>EVAL MODE</source>
        <translation>AUSWERTEMODUS</translation>
    </message>
    <message>
        <source>Evaluation mode</source>
        <translation>Auswertemodus</translation>
    </message>
    <message>
        <source>VECTOR</source>
        <translation>VEKTOR</translation>
    </message>
    <message>
        <source>GLOSS</source>
        <translation>GLANZ</translation>
    </message>
    <message>
        <source>MAXVEC-NO</source>
        <translation>MAXVEK-NR</translation>
    </message>
    <message>
        <source>Number of vectors checked</source>
        <translation>Anzahl der geprüften Vektoren</translation>
    </message>
    <message>
        <source>BIAS</source>
        <translation>OFFSET</translation>
    </message>
    <message>
        <source>Gloss factor bias</source>
        <translation>Glanzgrad-Offset</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>AUS</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>EIN</translation>
    </message>
    <message>
        <source>EXT TEACH</source>
        <translation>EXT. TEACH</translation>
    </message>
    <message>
        <source>External teach</source>
        <translation>Externes Teachen</translation>
    </message>
    <message>
        <source>TRIGGER</source>
        <translation>TRIGGER</translation>
    </message>
    <message>
        <source>Trigger</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>Trigger mode</source>
        <translation>Triggermodus</translation>
    </message>
    <message>
        <source>CONT</source>
        <translation>KONT</translation>
    </message>
    <message>
        <source>SELF</source>
        <translation>SELBST</translation>
    </message>
    <message>
        <source>EXT1</source>
        <translation>EXT1</translation>
    </message>
    <message>
        <source>EXT2</source>
        <translation>EXT2</translation>
    </message>
    <message>
        <source>EXT3</source>
        <translation>EXT3</translation>
    </message>
    <message>
        <source>EXT4</source>
        <translation>EXT4</translation>
    </message>
    <message>
        <source>ST TRSH</source>
        <translation>ST-SCHWELLE</translation>
    </message>
    <message>
        <source>Self trigger threshold</source>
        <translation>Schwelle des Selbsttriggers</translation>
    </message>
    <message>
        <source>PROFILE BEG</source>
        <translation>PROFIL ANF</translation>
    </message>
    <message>
        <source>Profile range begin</source>
        <translation>Anfang des Profilbereichs</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>PROFILE END</source>
        <translation>PROFIL ENDE</translation>
    </message>
    <message>
        <source>Profile range end</source>
        <translation>Ende des Profilbereichs</translation>
    </message>
    <message>
        <source>OUTPUTS</source>
        <translation>AUSGÄNGE</translation>
    </message>
    <message>
        <source>Outputs</source>
        <translation>Ausgänge</translation>
    </message>
    <message>
        <source>OUTMODE</source>
        <translation>AUSG.-MODUS</translation>
    </message>
    <message>
        <source>Digital output mode</source>
        <translation>Modus der Digitalausgänge</translation>
    </message>
    <message>
        <source>DIRECT LO</source>
        <translation>DIREKT LO</translation>
    </message>
    <message>
        <source>BINARY</source>
        <translation>BINÄR</translation>
    </message>
    <message>
        <source>DIRECT HI</source>
        <translation>DIREKT HI</translation>
    </message>
    <message>
        <source>HOLD</source>
        <translation>HALTEZEIT</translation>
    </message>
    <message>
        <source>Hold time</source>
        <translation>Haltezeit</translation>
    </message>
    <message>
        <source>ANALOG BEG</source>
        <translation>ANALOG ANF</translation>
    </message>
    <message>
        <source>Analog output range begin</source>
        <translation>Anfang des Analogausgangsbereichs</translation>
    </message>
    <message>
        <source>ANALOG END</source>
        <translation>ANALOG ENDE</translation>
    </message>
    <message>
        <source>Analog output range end</source>
        <translation>Ende des Analogausgangsbereichs</translation>
    </message>
    <message>
        <source>NO.:</source>
        <translation>NR.:</translation>
    </message>
    <message>
        <source>Teach row number</source>
        <translation>Nummer der Teach-Zeile</translation>
    </message>
    <message>
        <source>AUTO INC</source>
        <translation>AUTO +1</translation>
    </message>
    <message>
        <source>Auto increment row number</source>
        <translation>Zeilennummer selbsttätig erhöhen</translation>
    </message>
    <message>
        <source>TEACH DATA TO</source>
        <translation>TEACH-DATEN NACH</translation>
    </message>
    <message>
        <source>Teach current values to row</source>
        <translation>Aktuelle Werte in die Zeile teachen</translation>
    </message>
    <message>
        <source>RESET TABLE</source>
        <translation>TABELLE LEEREN</translation>
    </message>
    <message>
        <source>Reset teach table</source>
        <translation>Teach-Tabelle zurücksetzen</translation>
    </message>
    <message>
        <source>Teach table</source>
        <translation>Teach-Tabelle</translation>
    </message>
    <message>
        <source>GF</source>
        <translation>GF</translation>
    </message>
    <message>
        <source>GF TOL</source>
        <translation>GF-TOL</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>11</source>
        <translation>11</translation>
    </message>
    <message>
        <source>12</source>
        <translation>12</translation>
    </message>
    <message>
        <source>13</source>
        <translation>13</translation>
    </message>
    <message>
        <source>14</source>
        <translation>14</translation>
    </message>
    <message>
        <source>15</source>
        <translation>15</translation>
    </message>
    <message>
        <source>16</source>
        <translation>16</translation>
    </message>
    <message>
        <source>17</source>
        <translation>17</translation>
    </message>
    <message>
        <source>18</source>
        <translation>18</translation>
    </message>
    <message>
        <source>19</source>
        <translation>19</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>21</source>
        <translation>21</translation>
    </message>
    <message>
        <source>22</source>
        <translation>22</translation>
    </message>
    <message>
        <source>23</source>
        <translation>23</translation>
    </message>
    <message>
        <source>24</source>
        <translation>24</translation>
    </message>
    <message>
        <source>25</source>
        <translation>25</translation>
    </message>
    <message>
        <source>26</source>
        <translation>26</translation>
    </message>
    <message>
        <source>27</source>
        <translation>27</translation>
    </message>
    <message>
        <source>28</source>
        <translation>28</translation>
    </message>
    <message>
        <source>29</source>
        <translation>29</translation>
    </message>
    <message>
        <source>30</source>
        <translation>30</translation>
    </message>
    <message>
        <source>LIVE VALUES</source>
        <translation>LIVE-WERTE</translation>
    </message>
    <message>
        <source>CH_REF</source>
        <translation>CH_REF</translation>
    </message>
    <message>
        <source>Reference channel bar</source>
        <translation>Balken Referenzkanal</translation>
    </message>
    <message>
        <source>Reference channel</source>
        <translation>Referenzkanal</translation>
    </message>
    <message>
        <source>CH_DIR</source>
        <translation>CH_DIR</translation>
    </message>
    <message>
        <source>Direct channel bar</source>
        <translation>Balken Direktkanal</translation>
    </message>
    <message>
        <source>Direct channel</source>
        <translation>Direktkanal</translation>
    </message>
    <message>
        <source>CH_DIF</source>
        <translation>CH_DIF</translation>
    </message>
    <message>
        <source>Diffuse channel bar</source>
        <translation>Balken Diffuskanal</translation>
    </message>
    <message>
        <source>Diffuse channel</source>
        <translation>Diffuskanal</translation>
    </message>
    <message>
        <source>Gloss factor</source>
        <translation>Glanzgrad</translation>
    </message>
    <message>
        <source>V-NO:</source>
        <translation>V-NR:</translation>
    </message>
    <message>
        <source>Vector number</source>
        <translation>Vektornummer</translation>
    </message>
    <message>
        <source>TEMP</source>
        <translation>TEMP</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>Temperature reading of the sensor in the last value set.</source>
        <translation>Temperaturwert des Sensors im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>NORM</source>
        <translation>NORM</translation>
    </message>
    <message>
        <source>Norm</source>
        <translation>Norm</translation>
    </message>
    <message>
        <source>INT</source>
        <translation>INT</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensität</translation>
    </message>
    <message>
        <source>PP</source>
        <translation>PP</translation>
    </message>
    <message>
        <source>Profile peak to peak</source>
        <translation>Spitze-Spitze-Wert des Profils</translation>
    </message>
    <message>
        <source>GRAPH</source>
        <translation>GRAFIK</translation>
    </message>
    <message>
        <source>SOURCE</source>
        <translation>QUELLE</translation>
    </message>
    <message>
        <source>Signal source</source>
        <translation>Signalquelle</translation>
    </message>
    <message>
        <source>RAW</source>
        <translation>ROH</translation>
    </message>
    <message>
        <source>PROFILE</source>
        <translation>PROFIL</translation>
    </message>
    <message>
        <source>Get profile</source>
        <translation>Profil holen</translation>
    </message>
    <message>
        <source>GO</source>
        <translation>START</translation>
    </message>
    <message>
        <source>Start live values</source>
        <translation>Live-Werte starten</translation>
    </message>
    <message>
        <source>F11</source>
        <translation>F11</translation>
    </message>
    <message>
        <source>Start live values (F11)</source>
        <translation>Live-Werte starten (F11)</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>Stop live values</source>
        <translation>Live-Werte stoppen</translation>
    </message>
    <message>
        <source>F12</source>
        <translation>F12</translation>
    </message>
    <message>
        <source>Stop live values (F12)</source>
        <translation>Live-Werte stoppen (F12)</translation>
    </message>
    <message>
        <source>Raw channels chart</source>
        <translation>Diagramm der Rohkanäle</translation>
    </message>
    <message>
        <source>Norm chart</source>
        <translation>Diagramm Norm</translation>
    </message>
    <message>
        <source>Intensity chart</source>
        <translation>Diagramm Intensität</translation>
    </message>
    <message>
        <source>Gloss factor chart</source>
        <translation>Diagramm Glanzgrad</translation>
    </message>
    <message>
        <source>Profile chart</source>
        <translation>Diagramm Profil</translation>
    </message>
    <message>
        <source>CONNECT</source>
        <translation>VERBINDUNG</translation>
    </message>
    <message>
        <source>Interface settings</source>
        <translation>Schnittstelleneinstellungen</translation>
    </message>
    <message>
        <source>CALIBRATE</source>
        <translation>KALIBRIEREN</translation>
    </message>
    <message>
        <source>Calibrate sensor</source>
        <translation>Sensor kalibrieren</translation>
    </message>
    <message>
        <source>RECORDER</source>
        <translation>AUFZEICHNUNG</translation>
    </message>
    <message>
        <source>Open recorder</source>
        <translation>Aufzeichnung öffnen</translation>
    </message>
    <message>
        <source>MONITOR</source>
        <translation>TREND</translation>
    </message>
    <message>
        <source>Open trend monitor</source>
        <translation>Trendüberwachung öffnen</translation>
    </message>
    <message>
        <source>TRACE</source>
        <translation>PROTOKOLL</translation>
    </message>
    <message>
        <source>Open the frame trace</source>
        <translation>Frame-Protokoll öffnen</translation>
    </message>
    <message>
        <source>Every frame to and from the sensor (Ctrl+T)</source>
        <translation>Jeder Frame zum und vom Sensor (Strg+T)</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>HILFE</translation>
    </message>
    <message>
        <source>Open the user guide</source>
        <translation>Benutzerhandbuch öffnen</translation>
    </message>
    <message>
        <source>The user guide, task by task (F1)</source>
        <translation>Das Benutzerhandbuch, Aufgabe für Aufgabe (F1)</translation>
    </message>
    <message>
        <source>STATUS</source>
        <translation>STATUS</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>COM</source>
        <translation>COM</translation>
    </message>
    <message>
        <source>Serial port in use</source>
        <translation>Verwendete serielle Schnittstelle</translation>
    </message>
    <message>
        <source>Serial port of the connection in use; CONNECT changes it.</source>
        <translation>Serielle Schnittstelle der verwendeten Verbindung; VERBINDUNG ändert sie.</translation>
    </message>
    <message>
        <source>SERVER</source>
        <translation>SERVER</translation>
    </message>
    <message>
        <source>Server in use</source>
        <translation>Verwendeter Server</translation>
    </message>
    <message>
        <source>Server of the connection in use; CONNECT changes it.</source>
        <translation>Server der verwendeten Verbindung; VERBINDUNG ändert ihn.</translation>
    </message>
    <message>
        <source>Connection state</source>
        <translation>Verbindungszustand</translation>
    </message>
    <message>
        <source>color: #b00000; font-weight: bold;</source>
        <translation>color: #b00000; font-weight: bold;</translation>
    </message>
    <message>
        <source>STOP RETRYING</source>
        <translation>AUFGEBEN</translation>
    </message>
    <message>
        <source>Stop retrying the connection</source>
        <translation>Verbindungsversuche beenden</translation>
    </message>
    <message>
        <source>Gives up taking the lost connection up again; TRY TO CONNECT on the interface panel tries again.</source>
        <translation>Gibt das Wiederaufnehmen der verlorenen Verbindung auf; VERBINDEN auf dem Schnittstellenfenster versucht es erneut.</translation>
    </message>
    <message>
        <source>Parameters changed in the sensor</source>
        <translation>Parameter im Sensor geändert</translation>
    </message>
    <message>
        <source>background: #ffe08a; color: #000000; padding: 3px;</source>
        <translation>background: #ffe08a; color: #000000; padding: 3px;</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Dismiss the notice of changed parameters</source>
        <translation>Hinweis auf geänderte Parameter schließen</translation>
    </message>
    <message>
        <source>Hides the notice that the sensor came back with other parameters.</source>
        <translation>Blendet den Hinweis aus, dass der Sensor mit anderen Parametern zurückkam.</translation>
    </message>
    <message>
        <source>TARVO-TEMPCOMP-Scope V4.3</source>
        <translation>TARVO-TEMPCOMP-Scope V4.3</translation>
    </message>
    <message>
        <source>0,1</source>
        <translation>0,1</translation>
    </message>
    <message>
        <source>TEMPERATURE CURVES</source>
        <translation>TEMPERATURKURVEN</translation>
    </message>
    <message>
        <source>curve(t) = X4·t⁴ + X3·t³ + X2·t² + X1·t + T     t = temperature step 0 … 99</source>
        <translation>Kurve(t) = X4·t⁴ + X3·t³ + X2·t² + X1·t + T     t = Temperaturstufe 0 … 99</translation>
    </message>
    <message>
        <source>RED</source>
        <translation>ROT</translation>
    </message>
    <message>
        <source>GREEN</source>
        <translation>GRÜN</translation>
    </message>
    <message>
        <source>BLUE</source>
        <translation>BLAU</translation>
    </message>
    <message>
        <source>X4</source>
        <translation>X4</translation>
    </message>
    <message>
        <source>Red curve coefficient of t to the fourth</source>
        <translation>Koeffizient der roten Kurve für t hoch vier</translation>
    </message>
    <message>
        <source>Green curve coefficient of t to the fourth</source>
        <translation>Koeffizient der grünen Kurve für t hoch vier</translation>
    </message>
    <message>
        <source>Blue curve coefficient of t to the fourth</source>
        <translation>Koeffizient der blauen Kurve für t hoch vier</translation>
    </message>
    <message>
        <source>X3</source>
        <translation>X3</translation>
    </message>
    <message>
        <source>Red curve coefficient of t cubed</source>
        <translation>Koeffizient der roten Kurve für t hoch drei</translation>
    </message>
    <message>
        <source>Green curve coefficient of t cubed</source>
        <translation>Koeffizient der grünen Kurve für t hoch drei</translation>
    </message>
    <message>
        <source>Blue curve coefficient of t cubed</source>
        <translation>Koeffizient der blauen Kurve für t hoch drei</translation>
    </message>
    <message>
        <source>X2</source>
        <translation>X2</translation>
    </message>
    <message>
        <source>Red curve coefficient of t squared</source>
        <translation>Koeffizient der roten Kurve für t im Quadrat</translation>
    </message>
    <message>
        <source>Green curve coefficient of t squared</source>
        <translation>Koeffizient der grünen Kurve für t im Quadrat</translation>
    </message>
    <message>
        <source>Blue curve coefficient of t squared</source>
        <translation>Koeffizient der blauen Kurve für t im Quadrat</translation>
    </message>
    <message>
        <source>X1</source>
        <translation>X1</translation>
    </message>
    <message>
        <source>Red curve coefficient of t</source>
        <translation>Koeffizient der roten Kurve für t</translation>
    </message>
    <message>
        <source>Green curve coefficient of t</source>
        <translation>Koeffizient der grünen Kurve für t</translation>
    </message>
    <message>
        <source>Blue curve coefficient of t</source>
        <translation>Koeffizient der blauen Kurve für t</translation>
    </message>
    <message>
        <source>T</source>
        <translation>T</translation>
    </message>
    <message>
        <source>Red curve coefficient of constant term</source>
        <translation>Konstantes Glied der roten Kurve</translation>
    </message>
    <message>
        <source>Green curve coefficient of constant term</source>
        <translation>Konstantes Glied der grünen Kurve</translation>
    </message>
    <message>
        <source>Blue curve coefficient of constant term</source>
        <translation>Konstantes Glied der blauen Kurve</translation>
    </message>
    <message>
        <source>REFERENCE</source>
        <translation>REFERENZ</translation>
    </message>
    <message>
        <source>REFERENCE TEMPERATURE STEP (0 … 99)</source>
        <translation>REFERENZ-TEMPERATURSTUFE (0 … 99)</translation>
    </message>
    <message>
        <source>Reference temperature step</source>
        <translation>Referenz-Temperaturstufe</translation>
    </message>
    <message>
        <source>Sets the three reference values from the curves at this temperature step</source>
        <translation>Setzt die drei Referenzwerte aus den Kurven bei dieser Temperaturstufe</translation>
    </message>
    <message>
        <source>RED CURVE</source>
        <translation>ROTE KURVE</translation>
    </message>
    <message>
        <source>Red curve value at the reference step</source>
        <translation>Wert der roten Kurve bei der Referenzstufe</translation>
    </message>
    <message>
        <source>RED REFERENCE</source>
        <translation>ROTE REFERENZ</translation>
    </message>
    <message>
        <source>Red reference value</source>
        <translation>Roter Referenzwert</translation>
    </message>
    <message>
        <source>GREEN CURVE</source>
        <translation>GRÜNE KURVE</translation>
    </message>
    <message>
        <source>Green curve value at the reference step</source>
        <translation>Wert der grünen Kurve bei der Referenzstufe</translation>
    </message>
    <message>
        <source>GREEN REFERENCE</source>
        <translation>GRÜNE REFERENZ</translation>
    </message>
    <message>
        <source>Green reference value</source>
        <translation>Grüner Referenzwert</translation>
    </message>
    <message>
        <source>BLUE CURVE</source>
        <translation>BLAUE KURVE</translation>
    </message>
    <message>
        <source>Blue curve value at the reference step</source>
        <translation>Wert der blauen Kurve bei der Referenzstufe</translation>
    </message>
    <message>
        <source>BLUE REFERENCE</source>
        <translation>BLAUE REFERENZ</translation>
    </message>
    <message>
        <source>Blue reference value</source>
        <translation>Blauer Referenzwert</translation>
    </message>
    <message>
        <source>EQUATION FILE</source>
        <translation>GLEICHUNGSDATEI</translation>
    </message>
    <message>
        <source>LOAD EQUATION…</source>
        <translation>GLEICHUNG LADEN…</translation>
    </message>
    <message>
        <source>Load coefficients from an equation file</source>
        <translation>Koeffizienten aus einer Gleichungsdatei laden</translation>
    </message>
    <message>
        <source>Loads the fifteen coefficients from an equation file (*.equ)</source>
        <translation>Lädt die fünfzehn Koeffizienten aus einer Gleichungsdatei (*.equ)</translation>
    </message>
    <message>
        <source>SAVE EQUATION…</source>
        <translation>GLEICHUNG SPEICHERN…</translation>
    </message>
    <message>
        <source>Save coefficients to an equation file</source>
        <translation>Koeffizienten in eine Gleichungsdatei speichern</translation>
    </message>
    <message>
        <source>Saves the fifteen coefficients to an equation file (*.equ)</source>
        <translation>Speichert die fünfzehn Koeffizienten in eine Gleichungsdatei (*.equ)</translation>
    </message>
    <message>
        <source>SENSOR</source>
        <translation>SENSOR</translation>
    </message>
    <message>
        <source>SEND FACTORS</source>
        <translation>FAKTOREN SENDEN</translation>
    </message>
    <message>
        <source>Send the compensation factors to the sensor</source>
        <translation>Kompensationsfaktoren an den Sensor senden</translation>
    </message>
    <message>
        <source>Computes the curves and factors from the panel and sends the three factor tables to the sensor</source>
        <translation>Berechnet Kurven und Faktoren aus dem Fenster und sendet die drei Faktortabellen an den Sensor</translation>
    </message>
    <message>
        <source>Open the interface panel</source>
        <translation>Schnittstellenfenster öffnen</translation>
    </message>
    <message>
        <source>Choose RS-232 or TCP/IP and connect to the sensor</source>
        <translation>RS-232 oder TCP/IP wählen und mit dem Sensor verbinden</translation>
    </message>
    <message>
        <source>TRANSFER</source>
        <translation>ÜBERTRAGUNG</translation>
    </message>
    <message>
        <source>Result of the last factor transfer</source>
        <translation>Ergebnis der letzten Faktorübertragung</translation>
    </message>
    <message>
        <source>Red curve chart</source>
        <translation>Diagramm rote Kurve</translation>
    </message>
    <message>
        <source>Green curve chart</source>
        <translation>Diagramm grüne Kurve</translation>
    </message>
    <message>
        <source>Blue curve chart</source>
        <translation>Diagramm blaue Kurve</translation>
    </message>
    <message>
        <source>Red, green and blue curve chart</source>
        <translation>Diagramm rote, grüne und blaue Kurve</translation>
    </message>
    <message>
        <source>CALCULATE CURVES</source>
        <translation>KURVEN BERECHNEN</translation>
    </message>
    <message>
        <source>Calculate the curves</source>
        <translation>Kurven berechnen</translation>
    </message>
    <message>
        <source>Calculates the three curves from the coefficients and shows them together</source>
        <translation>Berechnet die drei Kurven aus den Koeffizienten und zeigt sie zusammen</translation>
    </message>
    <message>
        <source>Show the red curve chart</source>
        <translation>Diagramm der roten Kurve zeigen</translation>
    </message>
    <message>
        <source>Shows the red curves alone</source>
        <translation>Zeigt die roten Kurven allein</translation>
    </message>
    <message>
        <source>Show the green curve chart</source>
        <translation>Diagramm der grünen Kurve zeigen</translation>
    </message>
    <message>
        <source>Shows the green curves alone</source>
        <translation>Zeigt die grünen Kurven allein</translation>
    </message>
    <message>
        <source>Show the blue curve chart</source>
        <translation>Diagramm der blauen Kurve zeigen</translation>
    </message>
    <message>
        <source>Shows the blue curves alone</source>
        <translation>Zeigt die blauen Kurven allein</translation>
    </message>
    <message>
        <source>COMPENSATION FACTORS  (1024 = 1.0)</source>
        <translation>KOMPENSATIONSFAKTOREN  (1024 = 1,0)</translation>
    </message>
    <message>
        <source>Red factor chart</source>
        <translation>Diagramm rote Faktoren</translation>
    </message>
    <message>
        <source>Green factor chart</source>
        <translation>Diagramm grüne Faktoren</translation>
    </message>
    <message>
        <source>Blue factor chart</source>
        <translation>Diagramm blaue Faktoren</translation>
    </message>
    <message>
        <source>Red, green and blue factor chart</source>
        <translation>Diagramm rote, grüne und blaue Faktoren</translation>
    </message>
    <message>
        <source>CALCULATE FACTORS</source>
        <translation>FAKTOREN BERECHNEN</translation>
    </message>
    <message>
        <source>Calculate the compensation factors</source>
        <translation>Kompensationsfaktoren berechnen</translation>
    </message>
    <message>
        <source>Calculates the factor tables from the curves and the reference values and shows them together</source>
        <translation>Berechnet die Faktortabellen aus den Kurven und den Referenzwerten und zeigt sie zusammen</translation>
    </message>
    <message>
        <source>Show the red factor chart</source>
        <translation>Diagramm der roten Faktoren zeigen</translation>
    </message>
    <message>
        <source>Shows the red factors alone</source>
        <translation>Zeigt die roten Faktoren allein</translation>
    </message>
    <message>
        <source>Show the green factor chart</source>
        <translation>Diagramm der grünen Faktoren zeigen</translation>
    </message>
    <message>
        <source>Shows the green factors alone</source>
        <translation>Zeigt die grünen Faktoren allein</translation>
    </message>
    <message>
        <source>Show the blue factor chart</source>
        <translation>Diagramm der blauen Faktoren zeigen</translation>
    </message>
    <message>
        <source>Shows the blue factors alone</source>
        <translation>Zeigt die blauen Faktoren allein</translation>
    </message>
    <message>
        <source>Calibration status</source>
        <translation>Kalibrierstatus</translation>
    </message>
    <message>
        <source>background: #ffd75e; color: black; padding: 2px 6px;</source>
        <translation>background: #ffd75e; color: black; padding: 2px 6px;</translation>
    </message>
</context>
<context>
    <name>Panels</name>
    <message>
        <source>other (%1)</source>
        <translation>anderer (%1)</translation>
    </message>
</context>
<context>
    <name>ParamFile</name>
    <message>
        <source>The file cannot be read (%1).</source>
        <translation>Die Datei kann nicht gelesen werden (%1).</translation>
    </message>
    <message>
        <source>No such file</source>
        <translation>Datei nicht vorhanden</translation>
    </message>
    <message>
        <source>%1, line %2: the file holds more than %3 numbers.</source>
        <translation>%1, Zeile %2: Die Datei enthält mehr als %3 Zahlen.</translation>
    </message>
    <message>
        <source>a whole number from 0 to 65535</source>
        <translation>eine ganze Zahl von 0 bis 65535</translation>
    </message>
    <message>
        <source>%1 holds %2 numbers instead of %3.</source>
        <translation>%1 enthält %2 statt %3 Zahlen.</translation>
    </message>
</context>
<context>
    <name>ParamTransfer</name>
    <message>
        <source>row %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>rows %1-%2</source>
        <translation>Zeilen %1-%2</translation>
    </message>
    <message>
        <source>the new parameters and teach %1</source>
        <translation>die neuen Parameter und Teach-%1</translation>
    </message>
    <message>
        <source>the new parameters</source>
        <translation>die neuen Parameter</translation>
    </message>
    <message>
        <source>teach %1 perhaps</source>
        <translation>Teach-%1 vielleicht</translation>
    </message>
    <message>
        <source>teach %1 as before</source>
        <translation>Teach-%1 wie zuvor</translation>
    </message>
    <message>
        <source>; nothing stored in the EEPROM</source>
        <translation>; nichts im EEPROM gespeichert</translation>
    </message>
</context>
<context>
    <name>RECP</name>
    <message>
        <source>Recorder</source>
        <translation>Aufzeichnung</translation>
    </message>
    <message>
        <source>RECORDING</source>
        <translation>AUFZEICHNUNG</translation>
    </message>
    <message>
        <source>MODE</source>
        <translation>MODUS</translation>
    </message>
    <message>
        <source>Recording mode</source>
        <translation>Aufzeichnungsmodus</translation>
    </message>
    <message>
        <source>FIXED COUNT</source>
        <translation>FESTE ANZAHL</translation>
    </message>
    <message>
        <source>CONTINUOUS</source>
        <translation>FORTLAUFEND</translation>
    </message>
    <message>
        <source>POLLING</source>
        <translation>ABFRAGE</translation>
    </message>
    <message>
        <source>TRIGGERED</source>
        <translation>GETRIGGERT</translation>
    </message>
    <message>
        <source>INTERVAL</source>
        <translation>INTERVALL</translation>
    </message>
    <message>
        <source>Recording interval</source>
        <translation>Aufzeichnungsintervall</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>VALUES</source>
        <translation>WERTE</translation>
    </message>
    <message>
        <source>Number of values to record</source>
        <translation>Anzahl aufzuzeichnender Werte</translation>
    </message>
    <message>
        <source>RECORD TIME</source>
        <translation>AUFZEICHNUNGSDAUER</translation>
    </message>
    <message>
        <source>Record time</source>
        <translation>Aufzeichnungsdauer</translation>
    </message>
    <message>
        <source>DAYS</source>
        <translation>TAGE</translation>
    </message>
    <message>
        <source>HOURS</source>
        <translation>STD</translation>
    </message>
    <message>
        <source>MIN</source>
        <translation>MIN</translation>
    </message>
    <message>
        <source>SEC</source>
        <translation>SEK</translation>
    </message>
    <message>
        <source>Record time days</source>
        <translation>Aufzeichnungsdauer Tage</translation>
    </message>
    <message>
        <source>How long the recording takes at this interval and number of values: days.</source>
        <translation>Wie lange die Aufzeichnung bei diesem Intervall und dieser Anzahl dauert: Tage.</translation>
    </message>
    <message>
        <source>Record time hours</source>
        <translation>Aufzeichnungsdauer Stunden</translation>
    </message>
    <message>
        <source>How long the recording takes at this interval and number of values: hours.</source>
        <translation>Wie lange die Aufzeichnung bei diesem Intervall und dieser Anzahl dauert: Stunden.</translation>
    </message>
    <message>
        <source>Record time minutes</source>
        <translation>Aufzeichnungsdauer Minuten</translation>
    </message>
    <message>
        <source>How long the recording takes at this interval and number of values: minutes.</source>
        <translation>Wie lange die Aufzeichnung bei diesem Intervall und dieser Anzahl dauert: Minuten.</translation>
    </message>
    <message>
        <source>Record time seconds</source>
        <translation>Aufzeichnungsdauer Sekunden</translation>
    </message>
    <message>
        <source>How long the recording takes at this interval and number of values: seconds.</source>
        <translation>Wie lange die Aufzeichnung bei diesem Intervall und dieser Anzahl dauert: Sekunden.</translation>
    </message>
    <message>
        <source>RECORDED</source>
        <translation>AUFGEZEICHNET</translation>
    </message>
    <message>
        <source>Recorded values</source>
        <translation>Aufgezeichnete Werte</translation>
    </message>
    <message>
        <source>REMAINING</source>
        <translation>VERBLEIBEND</translation>
    </message>
    <message>
        <source>Remaining values</source>
        <translation>Verbleibende Werte</translation>
    </message>
    <message>
        <source>LINES</source>
        <translation>ZEILEN</translation>
    </message>
    <message>
        <source>Lines recorded</source>
        <translation>Aufgezeichnete Zeilen</translation>
    </message>
    <message>
        <source>Lines written to the record file by this recording.</source>
        <translation>Von dieser Aufzeichnung in die Aufzeichnungsdatei geschriebene Zeilen.</translation>
    </message>
    <message>
        <source>START</source>
        <translation>START</translation>
    </message>
    <message>
        <source>Start interval recording</source>
        <translation>Intervallaufzeichnung starten</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>Stop interval recording</source>
        <translation>Intervallaufzeichnung stoppen</translation>
    </message>
    <message>
        <source>START POLLING</source>
        <translation>ABFRAGE STARTEN</translation>
    </message>
    <message>
        <source>Start polling</source>
        <translation>Abfrage starten</translation>
    </message>
    <message>
        <source>STOP POLLING</source>
        <translation>ABFRAGE STOPPEN</translation>
    </message>
    <message>
        <source>Stop polling</source>
        <translation>Abfrage stoppen</translation>
    </message>
    <message>
        <source>RECORD</source>
        <translation>AUFZEICHNEN</translation>
    </message>
    <message>
        <source>Record one value set</source>
        <translation>Einen Wertesatz aufzeichnen</translation>
    </message>
    <message>
        <source>Start triggered recording</source>
        <translation>Getriggerte Aufzeichnung starten</translation>
    </message>
    <message>
        <source>Stop triggered recording</source>
        <translation>Getriggerte Aufzeichnung stoppen</translation>
    </message>
    <message>
        <source>RECORD FILE</source>
        <translation>AUFZEICHNUNGSDATEI</translation>
    </message>
    <message>
        <source>Record file</source>
        <translation>Aufzeichnungsdatei</translation>
    </message>
    <message>
        <source>no record file selected</source>
        <translation>keine Aufzeichnungsdatei gewählt</translation>
    </message>
    <message>
        <source>SELECT FILE…</source>
        <translation>DATEI WÄHLEN…</translation>
    </message>
    <message>
        <source>Select record file</source>
        <translation>Aufzeichnungsdatei wählen</translation>
    </message>
    <message>
        <source>CURRENT VALUES</source>
        <translation>AKTUELLE WERTE</translation>
    </message>
    <message>
        <source>CH_REF</source>
        <translation>CH_REF</translation>
    </message>
    <message>
        <source>Reference channel bar</source>
        <translation>Balken Referenzkanal</translation>
    </message>
    <message>
        <source>Reference channel</source>
        <translation>Referenzkanal</translation>
    </message>
    <message>
        <source>Reference channel CH_REF in the last value set.</source>
        <translation>Referenzkanal CH_REF im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>CH_DIR</source>
        <translation>CH_DIR</translation>
    </message>
    <message>
        <source>Direct channel bar</source>
        <translation>Balken Direktkanal</translation>
    </message>
    <message>
        <source>Direct channel</source>
        <translation>Direktkanal</translation>
    </message>
    <message>
        <source>Direct channel CH_DIR in the last value set.</source>
        <translation>Direktkanal CH_DIR im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>CH_DIF</source>
        <translation>CH_DIF</translation>
    </message>
    <message>
        <source>Diffuse channel bar</source>
        <translation>Balken Diffuskanal</translation>
    </message>
    <message>
        <source>Diffuse channel</source>
        <translation>Diffuskanal</translation>
    </message>
    <message>
        <source>Diffuse channel CH_DIF in the last value set.</source>
        <translation>Diffuskanal CH_DIF im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>NORM</source>
        <translation>NORM</translation>
    </message>
    <message>
        <source>Norm</source>
        <translation>Norm</translation>
    </message>
    <message>
        <source>NORM in the last value set.</source>
        <translation>NORM im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>INT</source>
        <translation>INT</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensität</translation>
    </message>
    <message>
        <source>Intensity INT in the last value set.</source>
        <translation>Intensität INT im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>GF</source>
        <translation>GF</translation>
    </message>
    <message>
        <source>Gloss factor</source>
        <translation>Glanzgrad</translation>
    </message>
    <message>
        <source>PP</source>
        <translation>PP</translation>
    </message>
    <message>
        <source>Profile peak to peak</source>
        <translation>Spitze-Spitze-Wert des Profils</translation>
    </message>
    <message>
        <source>Profile peak to peak PP in the last value set.</source>
        <translation>Spitze-Spitze-Wert PP des Profils im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>TEMP</source>
        <translation>TEMP</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>Temperature reading of the sensor in the last value set.</source>
        <translation>Temperaturwert des Sensors im letzten Wertesatz.</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Sensor identification</source>
        <translation>Sensorkennung</translation>
    </message>
    <message>
        <source>The sensor identification entered on the interface panel.</source>
        <translation>Die auf dem Schnittstellenfenster eingegebene Sensorkennung.</translation>
    </message>
    <message>
        <source>GRAPH</source>
        <translation>GRAFIK</translation>
    </message>
    <message>
        <source>Open graph panel</source>
        <translation>Grafikfenster öffnen</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>SCHLIESSEN</translation>
    </message>
    <message>
        <source>Close recorder</source>
        <translation>Aufzeichnung schließen</translation>
    </message>
    <message>
        <source>Connection state</source>
        <translation>Verbindungszustand</translation>
    </message>
    <message>
        <source>color: #b00000; font-weight: bold;</source>
        <translation>color: #b00000; font-weight: bold;</translation>
    </message>
    <message>
        <source>STOP RETRYING</source>
        <translation>AUFGEBEN</translation>
    </message>
    <message>
        <source>Stop retrying the connection</source>
        <translation>Verbindungsversuche beenden</translation>
    </message>
    <message>
        <source>Gives up taking the lost connection up again; TRY TO CONNECT on the interface panel tries again.</source>
        <translation>Gibt das Wiederaufnehmen der verlorenen Verbindung auf; VERBINDEN auf dem Schnittstellenfenster versucht es erneut.</translation>
    </message>
    <message>
        <source>Parameters changed in the sensor</source>
        <translation>Parameter im Sensor geändert</translation>
    </message>
    <message>
        <source>background: #ffe08a; color: #000000; padding: 3px;</source>
        <translation>background: #ffe08a; color: #000000; padding: 3px;</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Dismiss the notice of changed parameters</source>
        <translation>Hinweis auf geänderte Parameter schließen</translation>
    </message>
    <message>
        <source>Hides the notice that the sensor came back with other parameters.</source>
        <translation>Blendet den Hinweis aus, dass der Sensor mit anderen Parametern zurückkam.</translation>
    </message>
    <message>
        <source>REPORT…</source>
        <translation>BERICHT…</translation>
    </message>
    <message>
        <source>Report of the recording as PDF</source>
        <translation>Bericht der Aufzeichnung als PDF</translation>
    </message>
</context>
<context>
    <name>Reconnector</name>
    <message>
        <source>CONNECTION LOST — retrying (attempt %1, next in %2 s)</source>
        <translation>VERBINDUNG VERLOREN — neuer Versuch (Versuch %1, nächster in %2 s)</translation>
    </message>
    <message>
        <source>CONNECTION LOST — retrying (attempt %1)</source>
        <translation>VERBINDUNG VERLOREN — neuer Versuch (Versuch %1)</translation>
    </message>
    <message>
        <source>nothing received for %1 s; the line may be dead — turn on Reconnect and resume to check it</source>
        <translation>seit %1 s nichts empfangen; die Leitung ist vielleicht tot — „Neu verbinden und fortsetzen“ einschalten, um sie zu prüfen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; answered after %2 s, attempt %3</source>
        <translation>„%1“ hat nach %2 s geantwortet, Versuch %3</translation>
    </message>
    <message numerus="yes">
        <source>; %n frame(s) sent on a connection whose sensor did not prove to be the session&apos;s were not recorded</source>
        <translation>
            <numerusform>; %n Rahmen von einer Verbindung, deren Sensor sich nicht als der dieser Sitzung erwies, wurde nicht aufgezeichnet</numerusform>
            <numerusform>; %n Rahmen von einer Verbindung, deren Sensor sich nicht als der dieser Sitzung erwies, wurden nicht aufgezeichnet</numerusform>
        </translation>
    </message>
    <message>
        <source>the sensor was &quot;%1&quot;, now &quot;%2&quot; answers; nothing of it is recorded%3</source>
        <translation>der Sensor war „%1“, jetzt antwortet „%2“; von ihm wird nichts aufgezeichnet%3</translation>
    </message>
    <message numerus="yes">
        <source>retrying stopped after %n attempt(s)</source>
        <translation>
            <numerusform>nach %n Versuch wurde aufgegeben</numerusform>
            <numerusform>nach %n Versuchen wurde aufgegeben</numerusform>
        </translation>
    </message>
    <message>
        <source>after %1 s%2</source>
        <translation>nach %1 s%2</translation>
    </message>
    <message>
        <source>two replies in a row did not come</source>
        <translation>zwei Antworten hintereinander sind ausgeblieben</translation>
    </message>
    <message>
        <source>no frame for %1 s; the sensor answered the line check and frames came again once its sending was switched on (as after a reboot behind a line that stayed up)</source>
        <translation>kein Rahmen für %1 s; der Sensor hat die Leitungsprüfung beantwortet, und die Rahmen kamen wieder, sobald sein Senden eingeschaltet war (wie nach einem Neustart hinter einer Leitung, die bestehen blieb)</translation>
    </message>
    <message>
        <source>another sensor answered the line check</source>
        <translation>ein anderer Sensor hat die Leitungsprüfung beantwortet</translation>
    </message>
    <message>
        <source>nothing came for %1 s and the line check got no answer</source>
        <translation>für %1 s kam nichts, und die Leitungsprüfung bekam keine Antwort</translation>
    </message>
</context>
<context>
    <name>RecordFile</name>
    <message>
        <source>No file name.</source>
        <translation>Kein Dateiname.</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Are you sure, that you have selected the right file name?</source>
        <translation>Ist der richtige Dateiname gewählt?</translation>
    </message>
    <message>
        <source> Make sure, that the file is not opened by any other program.</source>
        <translation> Die Datei darf in keinem anderen Programm geöffnet sein.</translation>
    </message>
    <message>
        <source>
 Otherwise it can not be saved.</source>
        <translation>
 Sonst kann sie nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>No filename was choosen! 
Recording will not be done! </source>
        <translation>Kein Dateiname gewählt! 
Es wird nicht aufgezeichnet! </translation>
    </message>
    <message>
        <source>File already exist! 
Do you want to select existing file?</source>
        <translation>Die Datei existiert bereits! 
Die vorhandene Datei wählen?</translation>
    </message>
    <message>
        <source>The record file could not be created! 
%1
%2</source>
        <translation>Die Aufzeichnungsdatei konnte nicht angelegt werden! 
%1
%2</translation>
    </message>
    <message>
        <source>No record file has been selected! 
Recording will not be done! </source>
        <translation>Keine Aufzeichnungsdatei gewählt! 
Es wird nicht aufgezeichnet! </translation>
    </message>
    <message>
        <source>The record file could not be written! 
%1
%2
Recording has been stopped. </source>
        <translation>Die Aufzeichnungsdatei konnte nicht geschrieben werden! 
%1
%2
Die Aufzeichnung wurde angehalten. </translation>
    </message>
    <message numerus="yes">
        <source> The connection to the sensor was lost and %1: 
 the recording has ended. 

File has been saved!

 It holds %n line(s); when the connection was lost is written in 
 %2 </source>
        <translation>
            <numerusform> Die Verbindung zum Sensor ging verloren und %1: 
 die Aufzeichnung ist beendet. 

Die Datei wurde gespeichert!

 Sie enthält %n Zeile; wann die Verbindung verloren ging, steht in 
 %2 </numerusform>
            <numerusform> Die Verbindung zum Sensor ging verloren und %1: 
 die Aufzeichnung ist beendet. 

Die Datei wurde gespeichert!

 Sie enthält %n Zeilen; wann die Verbindung verloren ging, steht in 
 %2 </numerusform>
        </translation>
    </message>
    <message>
        <source>File has been saved!</source>
        <translation>Die Datei wurde gespeichert!</translation>
    </message>
    <message>
        <source>The events file could not be written! 
%1
%2
Recording has been stopped. </source>
        <translation>Die Ereignisdatei konnte nicht geschrieben werden! 
%1
%2
Die Aufzeichnung wurde angehalten. </translation>
    </message>
    <message>
        <source>No value has been recorded: the sensor did not answer the last request. </source>
        <translation>Kein Wert aufgezeichnet: Der Sensor hat die letzte Anfrage nicht beantwortet. </translation>
    </message>
</context>
<context>
    <name>ReportButton</name>
    <message>
        <source>There is no recording to report on yet: record into a file first.</source>
        <translation>Es gibt noch keine Aufzeichnung für einen Bericht: Zuerst in eine Datei aufzeichnen.</translation>
    </message>
    <message>
        <source>No report made.
%1</source>
        <translation>Kein Bericht erstellt.
%1</translation>
    </message>
    <message>
        <source>The report could not be saved:
%1
%2</source>
        <translation>Der Bericht konnte nicht gespeichert werden:
%1
%2</translation>
    </message>
    <message numerus="yes">
        <source>Report of %n value sets saved:
%1</source>
        <translation>
            <numerusform>Bericht über %n Wertesatz gespeichert:
%1</numerusform>
            <numerusform>Bericht über %n Wertesätze gespeichert:
%1</numerusform>
        </translation>
    </message>
    <message>
        <source>OPEN</source>
        <translation>ÖFFNEN</translation>
    </message>
</context>
<context>
    <name>ScaleAxisPanel</name>
    <message>
        <source>Scale Axis</source>
        <translation>Achsen skalieren</translation>
    </message>
    <message>
        <source>Y AXIS</source>
        <translation>Y-ACHSE</translation>
    </message>
    <message>
        <source>X AXIS</source>
        <translation>X-ACHSE</translation>
    </message>
    <message>
        <source>MAX</source>
        <translation>MAX</translation>
    </message>
    <message>
        <source>Y axis maximum</source>
        <translation>Maximum der Y-Achse</translation>
    </message>
    <message>
        <source>Upper end of the chart&apos;s value axis.</source>
        <translation>Oberes Ende der Werteachse des Diagramms.</translation>
    </message>
    <message>
        <source>X axis maximum</source>
        <translation>Maximum der X-Achse</translation>
    </message>
    <message>
        <source>Right end of the chart&apos;s horizontal axis.</source>
        <translation>Rechtes Ende der waagerechten Achse des Diagramms.</translation>
    </message>
    <message>
        <source>MIN</source>
        <translation>MIN</translation>
    </message>
    <message>
        <source>Y axis minimum</source>
        <translation>Minimum der Y-Achse</translation>
    </message>
    <message>
        <source>Lower end of the chart&apos;s value axis.</source>
        <translation>Unteres Ende der Werteachse des Diagramms.</translation>
    </message>
    <message>
        <source>X axis minimum</source>
        <translation>Minimum der X-Achse</translation>
    </message>
    <message>
        <source>Left end of the chart&apos;s horizontal axis.</source>
        <translation>Linkes Ende der waagerechten Achse des Diagramms.</translation>
    </message>
    <message>
        <source>RESET</source>
        <translation>ZURÜCKSETZEN</translation>
    </message>
    <message>
        <source>Reset axis scaling</source>
        <translation>Achsenskalierung zurücksetzen</translation>
    </message>
    <message>
        <source>Sets the chart&apos;s axes back to their first ranges.</source>
        <translation>Setzt die Achsen des Diagramms auf ihre ersten Bereiche zurück.</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>SCHLIESSEN</translation>
    </message>
    <message>
        <source>Close axis scaling</source>
        <translation>Achsenskalierung schließen</translation>
    </message>
    <message>
        <source>Closes the axis scaling panel.</source>
        <translation>Schließt das Fenster der Achsenskalierung.</translation>
    </message>
</context>
<context>
    <name>ScopeApp</name>
    <message>
        <source> Another sensor answered after the connection was lost: 
 %1 

 Nothing of it has been recorded; the work has been stopped. </source>
        <translation> Nach dem Verbindungsverlust hat ein anderer Sensor geantwortet: 
 %1 

 Nichts davon wurde aufgezeichnet; die Arbeit wurde angehalten. </translation>
    </message>
    <message>
        <source>PARAMETERS CHANGED while the connection was lost (%1): %2</source>
        <translation>PARAMETER GEÄNDERT während des Verbindungsverlusts (%1): %2</translation>
    </message>
    <message>
        <source>CONNECTION LOST</source>
        <translation>VERBINDUNG VERLOREN</translation>
    </message>
    <message>
        <source>NOT CONNECTED — retrying stopped</source>
        <translation>NICHT VERBUNDEN — keine neuen Versuche mehr</translation>
    </message>
    <message>
        <source>the values shown are old, from %1</source>
        <translation>die angezeigten Werte sind alt, von %1</translation>
    </message>
    <message>
        <source> — last value %1</source>
        <translation> — letzter Wert %1</translation>
    </message>
    <message>
        <source>NOTHING RECEIVED</source>
        <translation>NICHTS EMPFANGEN</translation>
    </message>
    <message>
        <source>The sensor came back with another working set, as after a reboot into its EEPROM set (%1).
GET shows the sensor&apos;s set; SEND writes the panel&apos;s set again.</source>
        <translation>Der Sensor kam mit einem anderen Arbeitssatz zurück, wie nach einem Neustart mit seinem EEPROM-Satz (%1).
LESEN zeigt den Satz des Sensors; SENDEN schreibt den Satz des Fensters erneut.</translation>
    </message>
    <message>
        <source>Save them to a parameter file</source>
        <translation>Sie in eine Parameterdatei speichern</translation>
    </message>
    <message>
        <source>Send them to the sensor&apos;s EEPROM</source>
        <translation>Sie in das EEPROM des Sensors senden</translation>
    </message>
    <message>
        <source>Send them to the sensor (RAM)</source>
        <translation>Sie an den Sensor (RAM) senden</translation>
    </message>
    <message>
        <source> These parameters were changed here but not sent to the sensor 
 (their fields have a dashed frame): 
 %1. 

 %2 before closing? </source>
        <translation> Diese Parameter wurden hier geändert, aber nicht an den Sensor gesendet 
 (ihre Felder haben einen gestrichelten Rahmen): 
 %1. 

 %2, bevor das Programm schließt? </translation>
    </message>
    <message>
        <source>Save, then close</source>
        <translation>Speichern, dann schließen</translation>
    </message>
    <message>
        <source>Send, then close</source>
        <translation>Senden, dann schließen</translation>
    </message>
    <message>
        <source>Close without saving</source>
        <translation>Ohne Speichern schließen</translation>
    </message>
    <message>
        <source>Close without sending</source>
        <translation>Ohne Senden schließen</translation>
    </message>
</context>
<context>
    <name>SettingsFiles</name>
    <message>
        <source>a whole number from 0 to 65535</source>
        <translation>eine ganze Zahl von 0 bis 65535</translation>
    </message>
</context>
<context>
    <name>SettingsLocation</name>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source> %1 is kept in 
 %2 
</source>
        <translation> %1 liegt in 
 %2 
</translation>
    </message>
    <message>
        <source> %1 are kept in 
 %2 
</source>
        <translation> %1 liegen in 
 %2 
</translation>
    </message>
    <message>
        <source> (the program&apos;s own folder: this copy is portable). 
</source>
        <translation> (dem eigenen Ordner des Programms: diese Kopie ist portabel). 
</translation>
    </message>
    <message>
        <source> (your own settings folder, as this copy is installed or its folder 
 is read-only; files beside the program are read once as the starting point). 
 File dialogs open in %1. 
</source>
        <translation> (Ihrem eigenen Einstellungsordner, da diese Kopie installiert oder ihr Ordner 
 schreibgeschützt ist; Dateien neben dem Programm werden einmal als Ausgangspunkt gelesen). 
 Dateidialoge öffnen in %1. 
</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <source>Unknown system error</source>
        <translation>Unbekannter Systemfehler</translation>
    </message>
    <message>
        <source>Invalid port number</source>
        <translation>Ungültige Portnummer</translation>
    </message>
    <message>
        <source>Port is not open</source>
        <translation>Schnittstelle ist nicht geöffnet</translation>
    </message>
    <message>
        <source>Unknown I/0 error</source>
        <translation>Unbekannter E/A-Fehler</translation>
    </message>
    <message>
        <source>RS-232 error!</source>
        <translation>RS-232-Fehler!</translation>
    </message>
    <message>
        <source>No serial port found</source>
        <translation>Keine serielle Schnittstelle gefunden</translation>
    </message>
    <message>
        <source>Cannot open port</source>
        <translation>Schnittstelle kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Timeout</source>
        <translation>Zeitüberschreitung</translation>
    </message>
    <message>
        <source>the line took only part of the frame</source>
        <translation>die Leitung hat nur einen Teil des Rahmens angenommen</translation>
    </message>
    <message>
        <source>the serial port is not open</source>
        <translation>die serielle Schnittstelle ist nicht geöffnet</translation>
    </message>
    <message>
        <source>the serial port refused the bytes (unplugged?)</source>
        <translation>die serielle Schnittstelle hat die Bytes abgelehnt (ausgesteckt?)</translation>
    </message>
    <message>
        <source>not connected to the sensor</source>
        <translation>nicht mit dem Sensor verbunden</translation>
    </message>
    <message>
        <source>the sensor closed the connection</source>
        <translation>der Sensor hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>the connection refused the bytes</source>
        <translation>die Verbindung hat die Bytes abgelehnt</translation>
    </message>
</context>
<context>
    <name>TRACEP</name>
    <message>
        <source>Trace</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Frame trace</source>
        <translation>Frame-Protokoll</translation>
    </message>
    <message>
        <source>COMMAND</source>
        <translation>BEFEHL</translation>
    </message>
    <message>
        <source>Show the records of this command</source>
        <translation>Einträge dieses Befehls zeigen</translation>
    </message>
    <message>
        <source>OUTCOME</source>
        <translation>ERGEBNIS</translation>
    </message>
    <message>
        <source>Show the records with this outcome</source>
        <translation>Einträge mit diesem Ergebnis zeigen</translation>
    </message>
    <message>
        <source>PAUSE</source>
        <translation>PAUSE</translation>
    </message>
    <message>
        <source>Pause the table</source>
        <translation>Tabelle anhalten</translation>
    </message>
    <message>
        <source>CLEAR</source>
        <translation>LEEREN</translation>
    </message>
    <message>
        <source>Clear the trace</source>
        <translation>Protokoll leeren</translation>
    </message>
    <message>
        <source>COPY</source>
        <translation>KOPIEREN</translation>
    </message>
    <message>
        <source>Copy the selected records</source>
        <translation>Gewählte Einträge kopieren</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>SPEICHERN</translation>
    </message>
    <message>
        <source>Save the records shown to a text file</source>
        <translation>Die gezeigten Einträge in eine Textdatei speichern</translation>
    </message>
    <message>
        <source>Trace records</source>
        <translation>Protokolleinträge</translation>
    </message>
    <message>
        <source>EXCHANGES</source>
        <translation>AUSTAUSCHE</translation>
    </message>
    <message>
        <source>Exchanges</source>
        <translation>Austausche</translation>
    </message>
    <message>
        <source>Requests the sensor answered in this run.</source>
        <translation>Anfragen, die der Sensor in diesem Lauf beantwortet hat.</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>TIME-OUTS</source>
        <translation>ZEITÜBERSCHR.</translation>
    </message>
    <message>
        <source>Time-outs</source>
        <translation>Zeitüberschreitungen</translation>
    </message>
    <message>
        <source>Requests the sensor did not answer in time in this run.</source>
        <translation>Anfragen, die der Sensor in diesem Lauf nicht rechtzeitig beantwortet hat.</translation>
    </message>
    <message>
        <source>ECHO MISMATCHES</source>
        <translation>ECHOFEHLER</translation>
    </message>
    <message>
        <source>Echo mismatches</source>
        <translation>Echofehler</translation>
    </message>
    <message>
        <source>Replies that did not echo their request in this run.</source>
        <translation>Antworten in diesem Lauf, die ihre Anfrage nicht wiederholten.</translation>
    </message>
    <message>
        <source>BYTES DROPPED</source>
        <translation>BYTES VERWORFEN</translation>
    </message>
    <message>
        <source>Bytes dropped</source>
        <translation>Verworfene Bytes</translation>
    </message>
    <message>
        <source>Received bytes that belonged to no frame and were dropped.</source>
        <translation>Empfangene Bytes, die zu keinem Frame gehörten und verworfen wurden.</translation>
    </message>
    <message>
        <source>RECONNECTS</source>
        <translation>NEU VERBUNDEN</translation>
    </message>
    <message>
        <source>Reconnects</source>
        <translation>Neuverbindungen</translation>
    </message>
    <message>
        <source>Times a lost connection was taken up again in this run.</source>
        <translation>Wie oft eine verlorene Verbindung in diesem Lauf wieder aufgenommen wurde.</translation>
    </message>
    <message>
        <source>LINK</source>
        <translation>ÜBER</translation>
    </message>
    <message>
        <source>Link in use</source>
        <translation>Verwendete Verbindung</translation>
    </message>
    <message>
        <source>The connection the records come from.</source>
        <translation>Die Verbindung, aus der die Einträge stammen.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>DATEI</translation>
    </message>
    <message>
        <source>Trace file of the whole run</source>
        <translation>Protokolldatei des ganzen Laufs</translation>
    </message>
    <message>
        <source>none (start the program with --trace FILE to write the whole run)</source>
        <translation>keine (das Programm mit --trace DATEI starten, um den ganzen Lauf zu schreiben)</translation>
    </message>
    <message>
        <source>Older records let go</source>
        <translation>Verworfene ältere Einträge</translation>
    </message>
</context>
<context>
    <name>TempComp</name>
    <message>
        <source>%1 factor</source>
        <translation>%1-Faktor</translation>
    </message>
    <message>
        <source>%1 curve</source>
        <translation>%1-Kurve</translation>
    </message>
    <message>
        <source>factor</source>
        <translation>Faktor</translation>
    </message>
    <message>
        <source>curve</source>
        <translation>Kurve</translation>
    </message>
    <message>
        <source>temperature step t</source>
        <translation>Temperaturstufe t</translation>
    </message>
    <message>
        <source>%1 factors</source>
        <translation>%1-Faktoren</translation>
    </message>
    <message>
        <source>%1 curves</source>
        <translation>%1-Kurven</translation>
    </message>
    <message>
        <source> THE FACTOR TABLES WERE CUT SHORT 

 The sensor now holds mixed tables: 
 %1. 

 SEND the factors again to finish them. </source>
        <translation> DIE FAKTORTABELLEN WURDEN UNTERBROCHEN 

 Der Sensor hält jetzt gemischte Tabellen: 
 %1. 

 Die Faktoren erneut SENDEN, um sie zu vervollständigen. </translation>
    </message>
    <message>
        <source> Some compensation factors do not fit the sensor&apos;s range 0 … 65535 
 (the curve is 0 or negative there, or far below its reference) 
 and were limited to it: 
</source>
        <translation> Einige Kompensationsfaktoren passen nicht in den Bereich des Sensors 0 … 65535 
 (die Kurve ist dort 0 oder negativ oder weit unter ihrem Referenzwert) 
 und wurden darauf begrenzt: 
</translation>
    </message>
    <message>
        <source>
 %1: %2 of 100, the first at temperature step %3 </source>
        <translation>
 %1: %2 von 100, der erste bei Temperaturstufe %3 </translation>
    </message>
    <message>
        <source> All 100 factors of %1 are 0. </source>
        <translation> Alle 100 Faktoren von %1 sind 0. </translation>
    </message>
    <message>
        <source> The reference values were taken at temperature step %1 
 from curves of other coefficients than those shown. </source>
        <translation> Die Referenzwerte wurden bei Temperaturstufe %1 
 aus Kurven anderer als der angezeigten Koeffizienten übernommen. </translation>
    </message>
    <message>
        <source> The reference values were taken at temperature step %1 
 before the curves were computed. </source>
        <translation> Die Referenzwerte wurden bei Temperaturstufe %1 
 übernommen, bevor die Kurven berechnet wurden. </translation>
    </message>
    <message>
        <source>
 Choose the step again after CALCULATE CURVES 
 to take them from the curves shown. </source>
        <translation>
 Die Stufe nach KURVEN BERECHNEN erneut wählen, 
 um sie aus den angezeigten Kurven zu übernehmen. </translation>
    </message>
    <message>
        <source>

 Send the factor tables anyway? </source>
        <translation>

 Die Faktortabellen trotzdem senden? </translation>
    </message>
    <message>
        <source>TRY TO SAVE</source>
        <translation>SPEICHERVERSUCH</translation>
    </message>
    <message>
        <source>SUCCESS</source>
        <translation>ERFOLG</translation>
    </message>
    <message>
        <source>FAILURE</source>
        <translation>FEHLER</translation>
    </message>
    <message>
        <source> %1 
 is not an equation file (*.equ). 

 The coefficients are unchanged. </source>
        <translation> %1 
 ist keine Gleichungsdatei (*.equ). 

 Die Koeffizienten bleiben unverändert. </translation>
    </message>
    <message>
        <source> The equation file 
 %1 
 could not be saved (%2). </source>
        <translation> Die Gleichungsdatei 
 %1 
 konnte nicht gespeichert werden (%2). </translation>
    </message>
    <message>
        <source> The equation file 
 %1 
 was not loaded: %2. 

 The coefficients are unchanged. </source>
        <translation> Die Gleichungsdatei 
 %1 
 wurde nicht geladen: %2. 

 Die Koeffizienten bleiben unverändert. </translation>
    </message>
    <message>
        <source>
 %1: curve %2, reference %3 </source>
        <translation>
 %1: Kurve %2, Referenz %3 </translation>
    </message>
    <message>
        <source> At temperature step %1 a curve lies outside 0 … 65535; 
 its reference value was limited to that range: 
</source>
        <translation> Bei Temperaturstufe %1 liegt eine Kurve außerhalb von 0 … 65535; 
 ihr Referenzwert wurde auf diesen Bereich begrenzt: 
</translation>
    </message>
    <message>
        <source>TIMEOUT</source>
        <translation>KEINE ANTWORT</translation>
    </message>
    <message>
        <source>CONNECTION FAILURE</source>
        <translation>VERBINDUNGSFEHLER</translation>
    </message>
    <message>
        <source> Another sensor answered after the connection was lost: 
 %1 </source>
        <translation> Nach dem Verbindungsverlust hat ein anderer Sensor geantwortet: 
 %1 </translation>
    </message>
    <message>
        <source>CONNECTION LOST</source>
        <translation>VERBINDUNG VERLOREN</translation>
    </message>
    <message>
        <source>RED</source>
        <translation>ROT</translation>
    </message>
    <message>
        <source>GREEN</source>
        <translation>GRÜN</translation>
    </message>
    <message>
        <source>BLUE</source>
        <translation>BLAU</translation>
    </message>
    <message>
        <source>temperature step</source>
        <translation>Temperaturstufe</translation>
    </message>
</context>
<context>
    <name>TraceWindow</name>
    <message>
        <source>ALL</source>
        <translation>ALLE</translation>
    </message>
    <message>
        <source>- (between exchanges)</source>
        <translation>- (zwischen Austauschen)</translation>
    </message>
    <message>
        <source>failures only</source>
        <translation>nur Fehler</translation>
    </message>
    <message>
        <source> The trace could not be saved to 
 %1 
 (%2).</source>
        <translation> Das Protokoll konnte nicht gespeichert werden in 
 %1 
 (%2).</translation>
    </message>
    <message>
        <source>stopped (%1): %2</source>
        <translation>gestoppt (%1): %2</translation>
    </message>
    <message>
        <source>TIME ms</source>
        <translation>ZEIT ms</translation>
    </message>
    <message>
        <source>CLOCK</source>
        <translation>UHRZEIT</translation>
    </message>
    <message>
        <source>DIRECTION</source>
        <translation>RICHTUNG</translation>
    </message>
    <message>
        <source>LINK</source>
        <translation>VERBINDUNG</translation>
    </message>
    <message>
        <source>COMMAND</source>
        <translation>BEFEHL</translation>
    </message>
    <message>
        <source>ARG</source>
        <translation>ARG</translation>
    </message>
    <message>
        <source>OUTCOME</source>
        <translation>ERGEBNIS</translation>
    </message>
    <message>
        <source>VALUES</source>
        <translation>WERTE</translation>
    </message>
    <message>
        <source>BYTES</source>
        <translation>BYTES</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>gesendet</translation>
    </message>
    <message>
        <source>write failed</source>
        <translation>Schreiben fehlgeschlagen</translation>
    </message>
    <message>
        <source>received</source>
        <translation>empfangen</translation>
    </message>
    <message>
        <source>reply complete</source>
        <translation>Antwort vollständig</translation>
    </message>
    <message>
        <source>automatic frame</source>
        <translation>automatischer Rahmen</translation>
    </message>
    <message>
        <source>echo mismatch</source>
        <translation>Echo abweichend</translation>
    </message>
    <message>
        <source>short</source>
        <translation>zu kurz</translation>
    </message>
    <message>
        <source>surplus</source>
        <translation>Überschuss</translation>
    </message>
    <message>
        <source>time-out</source>
        <translation>Zeitüberschreitung</translation>
    </message>
    <message>
        <source>connection closed</source>
        <translation>Verbindung geschlossen</translation>
    </message>
    <message>
        <source>flushed</source>
        <translation>verworfen</translation>
    </message>
    <message>
        <source>dropped</source>
        <translation>fallen gelassen</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>verbunden</translation>
    </message>
    <message>
        <source>open failed</source>
        <translation>Öffnen fehlgeschlagen</translation>
    </message>
    <message>
        <source>stray</source>
        <translation>verirrt</translation>
    </message>
    <message>
        <source>write parameters</source>
        <translation>Parameter schreiben</translation>
    </message>
    <message>
        <source>write teach row</source>
        <translation>Teach-Zeile schreiben</translation>
    </message>
    <message>
        <source>read parameters</source>
        <translation>Parameter lesen</translation>
    </message>
    <message>
        <source>read teach row</source>
        <translation>Teach-Zeile lesen</translation>
    </message>
    <message>
        <source>read measurement</source>
        <translation>Messwert lesen</translation>
    </message>
    <message>
        <source>store in EEPROM</source>
        <translation>im EEPROM speichern</translation>
    </message>
    <message>
        <source>identification</source>
        <translation>Kennung</translation>
    </message>
    <message>
        <source>load from EEPROM</source>
        <translation>aus EEPROM laden</translation>
    </message>
    <message>
        <source>read profile block</source>
        <translation>Profilblock lesen</translation>
    </message>
    <message>
        <source>confirm reference calibration</source>
        <translation>Referenzkalibrierung bestätigen</translation>
    </message>
    <message>
        <source>announce calibration table</source>
        <translation>Kalibriertabelle ankündigen</translation>
    </message>
    <message>
        <source>write calibration row</source>
        <translation>Kalibrierzeile schreiben</translation>
    </message>
    <message>
        <source>red factors</source>
        <translation>Rot-Faktoren</translation>
    </message>
    <message>
        <source>green factors</source>
        <translation>Grün-Faktoren</translation>
    </message>
    <message>
        <source>blue factors</source>
        <translation>Blau-Faktoren</translation>
    </message>
    <message>
        <source>start factor tables</source>
        <translation>Faktortabellen beginnen</translation>
    </message>
    <message>
        <source>automatic sending</source>
        <translation>automatisches Senden</translation>
    </message>
    <message>
        <source>unknown command</source>
        <translation>unbekannter Befehl</translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation>1 Byte</translation>
    </message>
    <message numerus="yes">
        <source>%n bytes</source>
        <translation>
            <numerusform>%n Byte</numerusform>
            <numerusform>%n Bytes</numerusform>
        </translation>
    </message>
    <message>
        <source>write failed: %1 of %2 bytes written</source>
        <translation>Schreiben fehlgeschlagen: %1 von %2 Bytes geschrieben</translation>
    </message>
    <message>
        <source>write failed: </source>
        <translation>Schreiben fehlgeschlagen: </translation>
    </message>
    <message>
        <source>echo mismatch at byte %1</source>
        <translation>Echo weicht ab bei Byte %1</translation>
    </message>
    <message>
        <source>short by %1</source>
        <translation>um %1 zu kurz</translation>
    </message>
    <message>
        <source>surplus %1</source>
        <translation>%1 zu viel</translation>
    </message>
    <message>
        <source>time-out after %1 ms</source>
        <translation>Zeitüberschreitung nach %1 ms</translation>
    </message>
    <message>
        <source>%1 flushed</source>
        <translation>%1 verworfen</translation>
    </message>
    <message>
        <source>%1 dropped</source>
        <translation>%1 fallen gelassen</translation>
    </message>
    <message>
        <source>open failed: </source>
        <translation>Öffnen fehlgeschlagen: </translation>
    </message>
    <message>
        <source>stray, %1 passed over</source>
        <translation>verirrt, %1 übergangen</translation>
    </message>
    <message>
        <source> … (%1 bytes)</source>
        <translation> … (%1 Bytes)</translation>
    </message>
    <message>
        <source>The oldest %1 records were let go: the window keeps the last %2 records and at most %3 MB of memory. To keep a whole run, start the program with --trace FILE.</source>
        <translation>Die ältesten %1 Einträge wurden verworfen: Das Fenster behält die letzten %2 Einträge und höchstens %3 MB Speicher. Um einen ganzen Lauf zu behalten, das Programm mit --trace DATEI starten.</translation>
    </message>
    <message>
        <source> The trace file 
 %1 
 could not be written any further: %2. 

 It ends with its last whole line. The TRACE window goes on recording.</source>
        <translation> Die Protokolldatei 
 %1 
 konnte nicht weiter geschrieben werden: %2. 

 Sie endet mit ihrer letzten ganzen Zeile. Das PROTOKOLL-Fenster zeichnet weiter auf.</translation>
    </message>
    <message>
        <source>RS-232 port %1</source>
        <translation>RS-232-Schnittstelle %1</translation>
    </message>
</context>
<context>
    <name>TransferKind</name>
    <message>
        <source>TRY TO CONNECT</source>
        <translation>VERBINDEN</translation>
    </message>
    <message>
        <source>reconnecting</source>
        <translation>neu verbinden</translation>
    </message>
    <message>
        <source>switching the sensor&apos;s sending off</source>
        <translation>das Senden des Sensors abschalten</translation>
    </message>
    <message>
        <source>SEND</source>
        <translation>SENDEN</translation>
    </message>
    <message>
        <source>GET</source>
        <translation>LESEN</translation>
    </message>
    <message>
        <source>finishing the SEND cut short</source>
        <translation>das unterbrochene SENDEN abschließen</translation>
    </message>
    <message>
        <source>GO</source>
        <translation>START</translation>
    </message>
    <message>
        <source>PROFILE</source>
        <translation>PROFIL</translation>
    </message>
    <message>
        <source>START (recorder)</source>
        <translation>START (Aufzeichnung)</translation>
    </message>
    <message>
        <source>START (triggered recording)</source>
        <translation>START (getriggerte Aufzeichnung)</translation>
    </message>
    <message>
        <source>START POLLING</source>
        <translation>ABFRAGE STARTEN</translation>
    </message>
    <message>
        <source>START (monitor)</source>
        <translation>START (Trendüberwachung)</translation>
    </message>
    <message>
        <source>START CALIBRATION</source>
        <translation>KALIBRIERUNG STARTEN</translation>
    </message>
    <message>
        <source>CALIBRATE TO OTHER SYSTEM</source>
        <translation>AUF ANDERES SYSTEM KALIBRIEREN</translation>
    </message>
    <message>
        <source>CLOSE CALIBRATION</source>
        <translation>KALIBRIERUNG SCHLIESSEN</translation>
    </message>
    <message>
        <source>MEASURE</source>
        <translation>MESSEN</translation>
    </message>
    <message>
        <source>SEND TO SENSOR</source>
        <translation>AN SENSOR SENDEN</translation>
    </message>
    <message>
        <source>SEND FACTORS</source>
        <translation>FAKTOREN SENDEN</translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message>
        <source>counts</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>per mille</source>
        <translation>‰</translation>
    </message>
    <message>
        <source>raw</source>
        <translation>roh</translation>
    </message>
    <message>
        <source>raw/10</source>
        <translation>roh/10</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source> The user guide was not found. It was looked for in: 
 %1</source>
        <translation> Das Benutzerhandbuch wurde nicht gefunden. Gesucht wurde in: 
 %1</translation>
    </message>
    <message>
        <source> No program to show web pages was found. 
 Open the user guide in a browser: 
 %1</source>
        <translation> Es wurde kein Programm zum Anzeigen von Webseiten gefunden. 
 Das Benutzerhandbuch in einem Browser öffnen: 
 %1</translation>
    </message>
</context>
<context>
    <name>VECPANEL</name>
    <message>
        <source>Vector Number</source>
        <translation>Vektornummer</translation>
    </message>
    <message>
        <source>V-NO:</source>
        <translation>V-NR:</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Sensor identification</source>
        <translation>Sensorkennung</translation>
    </message>
    <message>
        <source>The sensor identification entered on the interface panel.</source>
        <translation>Die auf dem Schnittstellenfenster eingegebene Sensorkennung.</translation>
    </message>
    <message>
        <source>Vector number</source>
        <translation>Vektornummer</translation>
    </message>
</context>
<context>
    <name>tarvo::InterfacePanel</name>
    <message>
        <source> The reconnect setting could not be saved in 
 %1 
 (%2).</source>
        <translation> Die Einstellung zum Neuverbinden konnte nicht gespeichert werden in 
 %1 
 (%2).</translation>
    </message>
    <message>
        <source> The server history could not be read from 
 %1 
 (%2).</source>
        <translation> Die Serverliste konnte nicht gelesen werden aus 
 %1 
 (%2).</translation>
    </message>
    <message>
        <source> The connection settings were not read: 
 %1 

 The program starts with RS-232 port 1.</source>
        <translation> Die Verbindungseinstellungen wurden nicht gelesen: 
 %1 

 Das Programm startet mit RS-232-Port 1.</translation>
    </message>
    <message>
        <source> The connection settings could not be saved to 
 %1 
 (%2). 

 The connection in use stays open, but the next start will not use it.</source>
        <translation> Die Verbindungseinstellungen konnten nicht gespeichert werden in 
 %1 
 (%2). 

 Die verwendete Verbindung bleibt offen, der nächste Start verwendet sie aber nicht.</translation>
    </message>
    <message>
        <source> The server history could not be saved to 
 %1 
 (%2).</source>
        <translation> Die Serverliste konnte nicht gespeichert werden in 
 %1 
 (%2).</translation>
    </message>
    <message>
        <source>--device, for this run</source>
        <translation>--device, für diesen Lauf</translation>
    </message>
    <message>
        <source>no such port on this computer</source>
        <translation>diesen Port hat dieser Rechner nicht</translation>
    </message>
    <message>
        <source> The choice of language could not be saved in 
 %1.</source>
        <translation> Die Wahl der Sprache konnte nicht gespeichert werden in 
 %1.</translation>
    </message>
    <message>
        <source> The language changes at the next start of the program.</source>
        <translation> Die Sprache wechselt beim nächsten Start des Programms.</translation>
    </message>
    <message>
        <source>TRY</source>
        <translation>VERSUCH</translation>
    </message>
    <message>
        <source>TIMEOUT</source>
        <translation>KEINE ANTWORT</translation>
    </message>
</context>
<context>
    <name>tarvo::ParameterPanel</name>
    <message>
        <source>The sensor holds %1, which this field cannot show (%2 … %3). It is sent back unchanged unless you change the field.</source>
        <translation>Der Sensor hält %1, was dieses Feld nicht zeigen kann (%2 … %3). Der Wert wird unverändert zurückgesendet, wenn Sie das Feld nicht ändern.</translation>
    </message>
    <message>
        <source>The sensor holds external teach = %1 (other than OFF or ON); it is sent back unchanged unless you change it.</source>
        <translation>Der Sensor hält externes Teachen = %1 (weder AUS noch EIN); der Wert wird unverändert zurückgesendet, wenn Sie ihn nicht ändern.</translation>
    </message>
    <message>
        <source>writing the parameters</source>
        <translation>beim Schreiben der Parameter</translation>
    </message>
    <message>
        <source>writing row %1 of %2</source>
        <translation>beim Schreiben von Zeile %1 von %2</translation>
    </message>
    <message>
        <source>storing the set in the EEPROM</source>
        <translation>beim Speichern des Satzes im EEPROM</translation>
    </message>
    <message>
        <source>loading the set from the EEPROM</source>
        <translation>beim Laden des Satzes aus dem EEPROM</translation>
    </message>
    <message>
        <source>reading the parameters</source>
        <translation>beim Lesen der Parameter</translation>
    </message>
    <message>
        <source>reading row %1 of %2</source>
        <translation>beim Lesen von Zeile %1 von %2</translation>
    </message>
    <message>
        <source>teach row %1</source>
        <translation>Teach-Zeile %1</translation>
    </message>
    <message>
        <source>teach rows %1-%2</source>
        <translation>Teach-Zeilen %1-%2</translation>
    </message>
    <message>
        <source> The last GET stopped short: %1 were not read from the sensor. 
 SEND writes them as the panel shows them, over what the sensor holds. 

 SEND THEM, READ AGAIN first, or Cancel? </source>
        <translation> Das letzte LESEN brach vorzeitig ab: %1 wurden nicht aus dem Sensor gelesen. 
 SENDEN schreibt sie so, wie das Fenster sie zeigt, über das, was der Sensor hält. 

 SO SENDEN, zuerst NEU LESEN oder Abbrechen? </translation>
    </message>
    <message>
        <source>SEND THEM</source>
        <translation>SO SENDEN</translation>
    </message>
    <message>
        <source>READ AGAIN</source>
        <translation>NEU LESEN</translation>
    </message>
    <message>
        <source> The last SEND was cut short: the sensor holds a mixed set, 
 %1. 

 FINISH THE WRITE sends the set that was sent again; PUT THE EARLIER SET BACK sends the set read or sent before it; Cancel leaves the sensor as it is. </source>
        <translation> Das letzte SENDEN wurde abgebrochen: Der Sensor hält einen gemischten Satz, 
 %1. 

 SCHREIBEN ABSCHLIESSEN sendet den gesendeten Satz erneut; FRÜHEREN SATZ ZURÜCK sendet den zuvor gelesenen oder gesendeten Satz; Abbrechen lässt den Sensor, wie er ist. </translation>
    </message>
    <message>
        <source>FINISH THE WRITE</source>
        <translation>SCHREIBEN ABSCHLIESSEN</translation>
    </message>
    <message>
        <source>PUT THE EARLIER SET BACK</source>
        <translation>FRÜHEREN SATZ ZURÜCK</translation>
    </message>
    <message>
        <source> THE WRITE WAS CUT SHORT 

 The sensor now holds a mixed set: 
 %1. 

 The panel keeps the set that was sent. When the sensor answers again, you can finish the write or put the earlier set back. </source>
        <translation> DAS SCHREIBEN WURDE ABGEBROCHEN 

 Der Sensor hält jetzt einen gemischten Satz: 
 %1. 

 Das Fenster behält den gesendeten Satz. Wenn der Sensor wieder antwortet, können Sie das Schreiben abschließen oder den früheren Satz zurückschreiben. </translation>
    </message>
    <message>
        <source>RAM got the set, the EEPROM store was not confirmed</source>
        <translation>RAM hat den Satz, das Speichern im EEPROM wurde nicht bestätigt</translation>
    </message>
    <message>
        <source>The sensor took the whole parameter set into its RAM and works with it now, but did not confirm storing it in its EEPROM: after a power cut it may start with its old set. SEND to the EEPROM again once it answers.</source>
        <translation>Der Sensor hat den ganzen Parametersatz in sein RAM übernommen und arbeitet jetzt damit, hat aber das Speichern im EEPROM nicht bestätigt: Nach einem Stromausfall startet er womöglich mit seinem alten Satz. Erneut an das EEPROM SENDEN, sobald er antwortet.</translation>
    </message>
    <message>
        <source>TEACH TABLE</source>
        <translation>TEACH-TABELLE</translation>
    </message>
    <message>
        <source>The parameters were not saved.
%1
%2</source>
        <translation>Die Parameter wurden nicht gespeichert.
%1
%2</translation>
    </message>
    <message>
        <source>%1
is not a parameter file: %2
No parameter was changed.</source>
        <translation>%1
ist keine Parameterdatei: %2
Kein Parameter wurde geändert.</translation>
    </message>
    <message>
        <source>Notice:  
 Analog output range must be higher than 10 units.</source>
        <translation>Hinweis:  
 Der Bereich des Analogausgangs muss größer als 10 Einheiten sein.</translation>
    </message>
    <message>
        <source> Notice:  
 The Profile range must be at least 25%.</source>
        <translation> Hinweis:  
 Der Profilbereich muss mindestens 25% betragen.</translation>
    </message>
</context>
<context>
    <name>tarvo::TeachTablePanel</name>
    <message>
        <source>Not read from the sensor: the GET ended before this row. SEND writes the value shown.</source>
        <translation>Nicht aus dem Sensor gelesen: Das LESEN endete vor dieser Zeile. SENDEN schreibt den gezeigten Wert.</translation>
    </message>
    <message>
        <source>Teach table cell</source>
        <translation>Zelle der Teach-Tabelle</translation>
    </message>
    <message>
        <source> ATTENTION! 
 
 MAXVEC-No. IS TOO HIGH 
 DECREASE MAXVEC-No. OR SWITCH TO OUTMODE=BINARY</source>
        <translation> ACHTUNG! 
 
 MAXVEC-Nr. IST ZU HOCH 
 MAXVEC-Nr. VERRINGERN ODER AUF OUTMODE=BINARY SCHALTEN</translation>
    </message>
</context>
<context>
    <name>tarvo::Watcher</name>
    <message>
        <source>&quot;%1&quot; was not taken: this field holds whole numbers.</source>
        <translation>„%1“ wurde nicht übernommen: Dieses Feld nimmt ganze Zahlen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not taken: the value must lie within %2.</source>
        <translation>„%1“ wurde nicht übernommen: Der Wert muss in %2 liegen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not taken: it is not a number this field holds.</source>
        <translation>„%1“ wurde nicht übernommen: Das ist keine Zahl, die dieses Feld nimmt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not taken: the value must lie within %2; the field keeps its previous value.</source>
        <translation>„%1“ wurde nicht übernommen: Der Wert muss in %2 liegen; das Feld behält seinen vorigen Wert.</translation>
    </message>
</context>
</TS>
