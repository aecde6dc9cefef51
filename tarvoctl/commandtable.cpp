// The table of tarvoctl's commands: name, synopsis, help, examples, the options
// each takes, what it talks to and whether --retries runs it again.
// A new command is one more entry here and its function.
#include "commands.h"
#include "publishcommand.h"
#include "reportcommand.h"

namespace tarvo::ctl {

const std::vector<Command>& commandTable()
{
    static const std::vector<Command> table = {
        {.name = "ports",
         .synopsis = "ports",
         .help = "List the serial ports that --serial N opens: the number, the\n"
                 "device and the system's description of it. Talks to no sensor.",
         .examples = "tarvoctl ports\n",
         .options = {},
         .sensor = Sensor::None,
         .retriable = false,
         .run = listPorts},
        {.name = "identify",
         .synopsis = "identify [--sensor-id ID]",
         .help = "Print the sensor's identification text (command 7). When the\n"
                 "sensor (by ID, the SENSOR ID TarvoV43 gives it, else by its\n"
                 "identification) has a calibration interval and its last successful\n"
                 "calibration in the user's calibration log is older, say \"calibration\n"
                 "due since DATE\" on standard error.",
         .examples
         = "tarvoctl --device /dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0 identify --sensor-id line3\n",
         .options = {&opt::retries, &opt::sensorId},
         .sensor = Sensor::Gloss,
         .retriable = true,
         .run = identify},
        {.name = "get",
         .synopsis = "get [--eeprom] [-o FILE] [--no-clobber]",
         .help = "Read the parameter set and the teach table (commands 3 and 4) and\n"
                 "write them as a parameter file, the file TarvoV43 loads and saves;\n"
                 "to standard output without -o.\n"
                 "--eeprom reads the set stored in the EEPROM. Only command 8 gives it,\n"
                 "and that loads it into the working set, so the working set is read\n"
                 "first; when the two differ, it is written back (commands 1 and 2)\n"
                 "and read again to check it. The sensor keeps running with the\n"
                 "working set it had, saved or not.",
         .examples = "tarvoctl --tcp 192.168.0.10 get --eeprom -o line3.ini\n",
         .options = {&opt::eeprom, &opt::output, &opt::noClobber, &opt::retries},
         .sensor = Sensor::Gloss,
         .retriable = true,
         .run = getParameters},
        {.name = "send",
         .synopsis = "send FILE [--eeprom]",
         .help = "Send a parameter file to the working set (commands 1 and 2); with\n"
                 "--eeprom also store it in the EEPROM (command 6). Then read the set\n"
                 "back from where it went and compare all 140 words. A value the\n"
                 "sensor does not take as the file holds it (maxno above 31) is sent\n"
                 "as the sensor takes it and named on standard error.",
         .examples = "tarvoctl --tcp 192.168.0.11 send line3.ini --eeprom\n",
         .options = {&opt::eeprom, &opt::retries},
         .sensor = Sensor::Gloss,
         .retriable = true,
         .run = sendParameters},
        {.name = "verify",
         .synopsis = "verify FILE [--eeprom]",
         .help = "Compare the sensor's working set (--eeprom: its EEPROM set, read as\n"
                 "get --eeprom reads it) with a parameter file; nothing is stored.\n"
                 "Exit code 0 when all 140 words are the same, 1 when not, with\n"
                 "every word that differs listed on standard output; 3 when the\n"
                 "sensor could not be read (no answer, a wrong answer, a closed\n"
                 "connection).",
         .examples = "tarvoctl --tcp 192.168.0.11 verify line3.ini --eeprom\n",
         .options = {&opt::eeprom, &opt::retries},
         .sensor = Sensor::Gloss,
         .retriable = true,
         .run = verifyParameters},
        {.name = "measure",
         .synopsis = "measure [-n COUNT | --seconds S] [--interval MS | --period MS]\n"
                     "        [--csv | --json] [-o FILE [--no-clobber]] [--utc] [--reconnect]",
         .help = "Ask for measured values (command 5), one set after another, and\n"
                 "write one line per set: the PC's time (ISO 8601 with its UTC offset;\n"
                 "--utc: in UTC), CH_REF, CH_DIR, CH_DIF, NORM, INT, GF, V-No, TEMP,\n"
                 "GF_RAW and PP, with GF, GF_RAW and PP as decimals; the CSV header\n"
                 "gives each unit (time,CH_REF [counts],...,GF [GU],...). Until COUNT\n"
                 "sets or S seconds; without either, until Ctrl+C.\n"
                 "--interval MS: a pause of MS ms after each set (default 25).\n"
                 "--period MS: a request every MS ms, start to start; at once after\n"
                 "an exchange that took longer.\n"
                 "--retries N: a value set that did not come is asked for again, up\n"
                 "to N times in a row.\n"
                 "--reconnect: a lost connection (closed, a device gone, two replies\n"
                 "in a row that did not come) is taken up again by itself, the sensor\n"
                 "checked by its identification, and the values go on; the events\n"
                 "(LOST, BACK, RESUMED ...) are told on standard error and, with -o\n"
                 "FILE, written to FILE.events.",
         .examples = "tarvoctl --serial 1 measure -n 1000 --period 100 --csv -o values.csv\n",
         .options = {&opt::count, &opt::seconds, &opt::interval, &opt::period, &opt::csv, &opt::json, &opt::output,
                     &opt::noClobber, &opt::utc, &opt::retries, &opt::reconnect},
         .sensor = Sensor::Gloss,
         .retriable = false,
         .run = measure},
        {.name = "record",
         .synopsis = "record --triggered [--seconds S] [-o FILE [--no-clobber]] [--utc]\n"
                     "        [--reconnect] [--check-after S]",
         .help = "Switch automatic sending on (command 50 with 1) and write one line\n"
                 "of the recorder's record file per frame the sensor sends on its\n"
                 "own, as TarvoV43 writes them (--utc: UTC time stamps), until S\n"
                 "seconds have passed or a signal ends it. Automatic sending is\n"
                 "always switched off at the end (command 50 with 0). Bytes that\n"
                 "belong to no frame are skipped and counted on standard error; a\n"
                 "recording that got such bytes and no frame ends with exit code 1.\n"
                 "--reconnect: a lost connection is taken up again by itself and the\n"
                 "recording goes on into the same file; a line quiet for S seconds\n"
                 "(--check-after, default 10) is checked: the identification is asked\n"
                 "for and automatic sending switched on again. A sensor with another\n"
                 "identification ends the recording (exit 1). The events (LOST,\n"
                 "BACK, RESUMED, IDENTITY-CHANGED, PARAMETERS-CHANGED, GAP: no frame\n"
                 "until the check switched sending on again, STOPPED) go to\n"
                 "standard error and, with -o FILE, to FILE.events, one line each.\n"
                 "Without --reconnect a line quiet for S seconds is only told, once,\n"
                 "on standard error (it may be dead), and the recording goes on.",
         .examples = "tarvoctl record --triggered --seconds 600 -o record.dat --no-clobber\n",
         .options = {&opt::triggered, &opt::seconds, &opt::output, &opt::noClobber, &opt::utc, &opt::reconnect,
                     &opt::checkAfter},
         .sensor = Sensor::Gloss,
         .retriable = false,
         .run = recordTriggered},
        {.name = "publish",
         .synopsis = "publish --broker HOST[:PORT] --name NAME (--triggered | --interval MS)\n"
                     "        [--prefix P] [--seconds S] [--spool DIR] [--queue N]\n"
                     "        [--tls [--cafile FILE] [--cert FILE --key FILE]]\n"
                     "        [--username USER [--password-file FILE]] [--reconnect]",
         .help = "Send every value set to the plant's MQTT broker as JSON, at QoS 1:\n"
                 "P/NAME/values (P: --prefix, default tarvo) with seq, time and every\n"
                 "value by name (GF, GF_RAW and PP in their units); P/NAME/status\n"
                 "\"online\", and \"offline\" at the end or from the broker when the\n"
                 "process dies (retained); P/NAME/info (retained): identification,\n"
                 "version and working parameter set (commands 7, 3 and 4); P/NAME/events:\n"
                 "LOST when the link to the sensor ends the run (see --reconnect).\n"
                 "--triggered: the frames the sensor sends on its own (command 50 with\n"
                 "1, and with 0 at the end); --interval MS: command 5 every MS ms.\n"
                 "Until S seconds or a signal. While the broker is away, value sets\n"
                 "wait in order: in memory (--queue, default 10000), then in the spool\n"
                 "directory, which survives a restart and is delivered first. At the\n"
                 "end the broker gets up to 10 s to take what waits.\n"
                 "--tls checks the broker's certificate (--cafile, or the system's\n"
                 "authorities). The password of --username comes from the first line\n"
                 "of --password-file or from TARVO_MQTT_PASSWORD, never from the\n"
                 "command line. A broker that refuses the connection ends the run\n"
                 "with exit code 1 before the sensor is asked anything; a spool that\n"
                 "cannot be written, with 2.\n"
                 "--reconnect: a lost link to the sensor is taken up again as in\n"
                 "record, and its events (LOST, BACK, RESUMED ...) are also published\n"
                 "on P/NAME/events.",
         .examples
         = "tarvoctl --tcp 192.168.0.10 publish --broker mqtt.plant:8883 --tls --name line3 --triggered --spool /var/lib/tarvo-publish/line3\n",
         .options = publishOptions(),
         .sensor = Sensor::Gloss,
         .retriable = false,
         .run = publishValues},
        {.name = "profile",
         .synopsis = "profile [--csv]",
         .help = "Fetch the light profile of the last piece (command 9, blocks 0 to\n"
                 "9) and one value set, and print the profile's points, numbered\n"
                 "from 0 (CSV header: profile point,profile [raw/10]).",
         .examples = "tarvoctl profile --csv > profile.csv\n",
         .options = {&opt::csv, &opt::retries},
         .sensor = Sensor::Gloss,
         .retriable = true,
         .run = profile},
        {.name = "factors",
         .synopsis = "factors send EQUATIONFILE [--ref-step T | --refs R,G,B]\n"
                     "        [--accept-limited] [--accept-zero]",
         .help = "Colour sensor: compute the three factor tables from the equation\n"
                 "file as TarvoTempCompV43 does and send them (command 43, then 40 to\n"
                 "42 with ten blocks each). The references: the curves at temperature\n"
                 "step T (0 to 99), or the three values given; without either, 1000\n"
                 "each (the tool's start values). Refused as the tool refuses or asks:\n"
                 "coefficients outside -1e9 to 1e9; factors outside 0 to 65535 unless\n"
                 "--accept-limited (they are sent limited); a table of 100 zeros\n"
                 "unless --accept-zero. As the tool does, the line is then opened\n"
                 "anew and the sensor's version (command 7) asked for and printed.",
         .examples = "tarvoctl --serial 2 factors send line3.equ --ref-step 20\n",
         .options = {&opt::refStep, &opt::refs, &opt::acceptLimited, &opt::acceptZero, &opt::retries},
         .sensor = Sensor::Colour,
         .retriable = true,
         .run = sendFactors},
        {.name = "report",
         .synopsis = "report RECORD.dat [--limits LOW:HIGH] [--events FILE] -o REPORT.pdf\n"
                     "       report RECORD.dat [--limits LOW:HIGH] [--events FILE] --csv [-o FILE]",
         .help = "Make the report of a record file (as TarvoV43 and record write it):\n"
                 "a PDF with the time span, the sensor where the events name it, the\n"
                 "gloss factor's figures (n, mean, sample standard deviation, minimum,\n"
                 "maximum; with --limits the share outside them, Cp and Cpk, these\n"
                 "from 25 parts on), a histogram with the limits, the trend over time\n"
                 "with the gaps of the events file (--events, usually RECORD.dat.events)\n"
                 "shaded, and the events. --csv writes the same figures as a header\n"
                 "line and one row for a spreadsheet. Talks to no sensor. A file that\n"
                 "is empty, damaged or cut short is refused with the line at fault\n"
                 "(exit code 2); no report is made of part of it.",
         .examples = "tarvoctl report record.dat --limits 85:90 --events record.dat.events -o record.pdf\n",
         .options = {&opt::limits, &opt::events, &opt::csv, &opt::output},
         .sensor = Sensor::None,
         .retriable = false,
         .run = reportRecording},
    };
    return table;
}

}  // namespace tarvo::ctl
