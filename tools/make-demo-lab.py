#!/usr/bin/env python3
"""Writes the bundled labs: the demo lab (lab/demo) and the rehearsal labs beside it.

Every lab holds the same cluster pair, node-a (this computer) and node-b; a rehearsal lab
differs from the demo only in what it breaks on node-b. Per server it writes the registry
exports the way `reg export` writes them (version 5, UTF-16LE with BOM, CR LF, long hex
data continued on the next line), plus one REGEDIT4 file, so that both dialects are read;
the services as `sc queryex state= all > services.txt` leaves them (ASCII, CR LF); and,
where a lab needs one, a faults.conf. The output depends on nothing but this file: run it
after changing the labs below, and commit what it writes.

    python3 tools/make-demo-lab.py [LABS_FOLDER]      (default: lab/ of this repository)
"""
import os
import sys

NETWORK_CLASS = r"SYSTEM\CurrentControlSet\Control\Network\{4D36E972-E325-11CE-BFC1-08002BE10318}"
INTERFACES = r"SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces"
PRODUCT = r"SOFTWARE\Zandor\Vestamail\ConfigWizard"

AUTOSTART_DOMAIN = "ha1"
CLAN_DOMAIN = "ha.example.local"
SWITCH_ADDRESS = "10.2.2.250"


def multi_sz(*strings):
    data = "".join(s + "\0" for s in strings) + "\0"
    return data.encode("utf-16-le")


def hex_value(name, kind, data):
    """A hex(n) value line wrapped as reg export wraps it (about 80 columns, ',\\' continuations)."""
    prefix = f'"{name}"=hex({kind:x}):'
    items = [f"{b:02x}" for b in data]
    lines, line = [], prefix
    for i, item in enumerate(items):
        piece = item + ("," if i + 1 < len(items) else "")
        if len(line) + len(piece) > 77:
            lines.append(line + "\\")
            line = "  "
        line += piece
    lines.append(line)
    return "\r\n".join(lines)


def string_value(name, text):
    return '"%s"="%s"' % (name, text.replace("\\", "\\\\").replace('"', '\\"'))


def dword_value(name, number):
    return '"%s"=dword:%08x' % (name, number)


def export(keys):
    out = ["Windows Registry Editor Version 5.00", ""]
    for key, values in keys:
        out.append(f"[HKEY_LOCAL_MACHINE\\{key}]")
        out.extend(values)
        out.append("")
    return b"\xff\xfe" + ("\r\n".join(out) + "\r\n").encode("utf-16-le")


def write(path, data, mode=0o644):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    # Set, not left to the umask, so that every run writes the same files; git keeps the exec bit.
    os.chmod(path, mode)


def crlf(lines):
    return "".join(line + "\r\n" for line in lines).encode("ascii")


# ---------------------------------------------------------------------------------------------
# Registry


def registry(folder, octet, extra_interface_guid, clan_name="CLAN", addresses_changed=None):
    """The three exports of one server; `octet` makes its addresses and GUIDs its own.
    `addresses_changed` maps a role to the (address, mask) it holds instead."""
    adapters = [
        ("{1A2B3C4D-0001-4000-8000-00000000000%d}" % octet, clan_name, "CLAN"),
        ("{1A2B3C4D-0002-4000-8000-00000000000%d}" % octet, "ELAN", "ELAN"),
        ("{1A2B3C4D-0003-4000-8000-00000000000%d}" % octet, "HB1", "HB1"),
        ("{1A2B3C4D-0004-4000-8000-00000000000%d}" % octet, "HB2", "HB2"),
        ("{1A2B3C4D-0005-4000-8000-00000000000%d}" % octet, "MIRROR", "MIRROR"),
        ("{1A2B3C4D-0006-4000-8000-00000000000%d}" % octet, "Local Area Connection 6", "spare"),
        # A connection whose name was blanked: it is still an adapter and must be skipped, not fail.
        ("{1A2B3C4D-0007-4000-8000-00000000000%d}" % octet, "", "dhcp"),
    ]
    keys = [(NETWORK_CLASS, [string_value("Class", "Net")]),
            (NETWORK_CLASS + r"\Descriptions", [string_value("Intel(R) PRO/1000", "")])]
    for slot, (guid, name, _) in enumerate(adapters):
        # The device instance names the card's slot; renaming a connection leaves it alone.
        device = "PCI\\VEN_8086&DEV_100E&SUBSYS_10018086&REV_02\\3&267A616A&0&%02X" % (0x40 + 8 * slot)
        keys.append((NETWORK_CLASS + "\\" + guid, []))
        keys.append((NETWORK_CLASS + "\\" + guid + r"\Connection",
                     [string_value("Name", name), string_value("PnpInstanceID", device)]))
    write(os.path.join(folder, "network.reg"), export(keys))

    # The pair shares the CLAN subnet, gateway and domain; ELAN and the three private links
    # each have a subnet of their own; node addresses differ by `octet`.
    addresses = {
        "CLAN": ("10.1.1.%d" % (10 + octet), "255.255.255.0"),
        "ELAN": ("10.2.2.%d" % (10 + octet), "255.255.255.0"),
        "HB1": ("192.168.101.%d" % (10 + octet), "255.255.255.0"),
        "HB2": ("192.168.102.%d" % (10 + octet), "255.255.255.0"),
        "MIRROR": ("192.168.103.%d" % (10 + octet), "255.255.255.0"),
        "spare": ("0.0.0.0", "0.0.0.0"),
    }
    addresses.update(addresses_changed or {})
    keys = [(INTERFACES, [])]
    for guid, _, role in adapters:
        if role == "dhcp":
            keys.append((INTERFACES + "\\" + guid,
                         [dword_value("EnableDHCP", 1), hex_value("IPAddress", 7, multi_sz("0.0.0.0")),
                          hex_value("SubnetMask", 7, multi_sz("0.0.0.0")),
                          string_value("DhcpIPAddress", "172.16.0.%d" % (20 + octet)),
                          string_value("DhcpSubnetMask", "255.255.0.0")]))
            continue
        ip, mask = addresses[role]
        values = [dword_value("EnableDHCP", 0)]
        if role == "CLAN":
            # Two addresses on the CLAN: the wizard takes the first of each list.
            values.append(hex_value("IPAddress", 7, multi_sz(ip, "10.1.1.%d" % (100 + octet))))
            values.append(hex_value("SubnetMask", 7, multi_sz(mask, "255.255.255.0")))
            values.append(hex_value("DefaultGateway", 7, multi_sz("10.1.1.1")))
            values.append(string_value("Domain", CLAN_DOMAIN))
        else:
            values.append(hex_value("IPAddress", 7, multi_sz(ip)))
            values.append(hex_value("SubnetMask", 7, multi_sz(mask)))
            values.append(hex_value("DefaultGateway", 7, multi_sz()))
        keys.append((INTERFACES + "\\" + guid, values))
    # An interface with no adapter class entry (a tunnel adapter): never matched.
    keys.append((INTERFACES + "\\" + extra_interface_guid,
                 [hex_value("IPAddress", 7, multi_sz("169.254.1.1")), hex_value("SubnetMask", 7, multi_sz("255.255.0.0"))]))
    write(os.path.join(folder, "tcpip.reg"), export(keys))

    product = ("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\%s]\r\n\"Switch IP Address\"=\"%s\"\r\n"
               "\"HighAvailMode\"=dword:00000001\r\n\"InstallDir\"=\"D:\\\\Zandor\\\\Vestamail\"\r\n"
               % (PRODUCT, SWITCH_ADDRESS))
    write(os.path.join(folder, "product.reg"), product.encode("latin-1"))


# ---------------------------------------------------------------------------------------------
# Services, as `sc queryex state= all` prints them

SHARED, OWN, OWN_INTERACTIVE = "20  WIN32_SHARE_PROCESS", "10  WIN32_OWN_PROCESS", "110  WIN32_OWN_PROCESS (interactive)"
STOPPED_CONTROLS = "(NOT_STOPPABLE, NOT_PAUSABLE, IGNORES_SHUTDOWN)"

# name, display name, type, controls accepted when running (None: the service is stopped),
# and the host process it runs in (services of one svchost group share a PID).
ORDINARY_SERVICES = [
    ("Alerter", "Alerter", SHARED, None, None),
    ("Browser", "Computer Browser", SHARED, "(STOPPABLE, NOT_PAUSABLE, IGNORES_SHUTDOWN)", "netsvcs"),
    ("Dhcp", "DHCP Client", SHARED, "(STOPPABLE, NOT_PAUSABLE, ACCEPTS_SHUTDOWN)", "networkservice"),
    ("Dnscache", "DNS Client", SHARED, "(STOPPABLE, NOT_PAUSABLE, IGNORES_SHUTDOWN)", "networkservice"),
    ("Eventlog", "Event Log", SHARED, "(NOT_STOPPABLE, NOT_PAUSABLE, ACCEPTS_SHUTDOWN)", "services"),
    ("lanmanserver", "Server", SHARED, "(STOPPABLE, PAUSABLE, IGNORES_SHUTDOWN)", "netsvcs"),
    ("lanmanworkstation", "Workstation", SHARED, "(STOPPABLE, PAUSABLE, IGNORES_SHUTDOWN)", "netsvcs"),
    ("Messenger", "Messenger", SHARED, None, None),
    ("PlugPlay", "Plug and Play", SHARED, "(NOT_STOPPABLE, NOT_PAUSABLE, ACCEPTS_SHUTDOWN)", "services"),
    ("RemoteRegistry", "Remote Registry", SHARED, "(STOPPABLE, NOT_PAUSABLE, IGNORES_SHUTDOWN)", "localservice"),
    ("RpcSs", "Remote Procedure Call (RPC)", SHARED, "(NOT_STOPPABLE, NOT_PAUSABLE, IGNORES_SHUTDOWN)", "rpcss"),
    ("SNMP", "SNMP Service", OWN, "(STOPPABLE, NOT_PAUSABLE, ACCEPTS_SHUTDOWN)", "snmp"),
    ("Spooler", "Print Spooler", OWN_INTERACTIVE, "(STOPPABLE, NOT_PAUSABLE, IGNORES_SHUTDOWN)", "spooler"),
    ("TlntSvr", "Telnet", OWN, None, None),
    ("W32Time", "Windows Time", SHARED, "(STOPPABLE, NOT_PAUSABLE, ACCEPTS_SHUTDOWN)", "netsvcs"),
    ("wuauserv", "Automatic Updates", SHARED, "(STOPPABLE, NOT_PAUSABLE, ACCEPTS_SHUTDOWN)", "netsvcs"),
]

# The four services of the clustering product for one AutoStart domain, each in its own process.
CLUSTER_SERVICES = [
    (AUTOSTART_DOMAIN, "EMC AutoStart Agent (%s)" % AUTOSTART_DOMAIN),
    (AUTOSTART_DOMAIN + "_BACKBONE", "EMC AutoStart Backbone (%s)" % AUTOSTART_DOMAIN),
    ("EMC AutoStart Mirror Service", "EMC AutoStart Mirror Service"),
    ("EMC AutoStart Transport Service", "EMC AutoStart Transport Service"),
]
CLUSTER_CONTROLS = "(STOPPABLE, NOT_PAUSABLE, ACCEPTS_SHUTDOWN)"

HOST_PIDS = {"services": 640, "rpcss": 884, "netsvcs": 1016, "networkservice": 1096, "localservice": 1168,
             "spooler": 1384, "snmp": 1440}


def field(label, value):
    return ("        %-19s: %s" % (label, value)).rstrip()


def service_block(name, display, kind, controls, pid):
    lines = ["SERVICE_NAME: " + name, "DISPLAY_NAME: " + display, field("TYPE", kind)]
    if controls is None:
        lines += [field("STATE", "1  STOPPED"), " " * 32 + STOPPED_CONTROLS, field("WIN32_EXIT_CODE", "1077  (0x435)")]
        pid = 0
    else:
        lines += [field("STATE", "4  RUNNING"), " " * 32 + controls, field("WIN32_EXIT_CODE", "0  (0x0)")]
    lines += [field("SERVICE_EXIT_CODE", "0  (0x0)"), field("CHECKPOINT", "0x0"), field("WAIT_HINT", "0x0"),
              field("PID", pid), field("FLAGS", "")]
    return lines


def services(path, octet, cluster_running=True):
    """services.txt of one server: sorted by service name as the manager lists them, each block
    preceded by the blank line sc prints. PIDs differ between the servers, as they would."""
    blocks = []
    for name, display, kind, controls, host in ORDINARY_SERVICES:
        pid = HOST_PIDS.get(host, 0) + 4 * octet if host else 0
        blocks.append((name, service_block(name, display, kind, controls, pid)))
    for index, (name, display) in enumerate(CLUSTER_SERVICES):
        controls = CLUSTER_CONTROLS if cluster_running else None
        blocks.append((name, service_block(name, display, OWN, controls, 1532 + 28 * index + 4 * octet)))
    lines = []
    for _, block in sorted(blocks, key=lambda b: b[0].lower()):
        lines += [""] + block
    write(path, crlf(lines))


# ---------------------------------------------------------------------------------------------
# Labs


def defaults_file(stage):
    """HADefaults.dat as Step 2 writes it: the stage and the ten entries, one per line."""
    return crlf([str(stage), "ha-managed", "10.1.1.5", "10.2.2.5", "node-a", "node-b", "admin", "workgroup",
                 "1", AUTOSTART_DOMAIN, "10.1.1.1"])


def demo_answers():
    """answers.dat of the demo: README.md's table of entries, as `check answers FILE` reads them (stage 1)."""
    return crlf(["0", "ha-managed", "10.1.1.5", "10.2.2.5", "node-a", "node-b", "admin", "workgroup", "3",
                 AUTOSTART_DOMAIN, "127.0.0.1"])


TOOLKIT = os.path.join("drives", "D", "Zandor", "HA", "ToolkitInstaller2.0")
AUTOSTART = os.path.join("drives", "D", "Program Files", "EMC AutoStart")

# ---------------------------------------------------------------------------------------------
# The clustering product's stand-ins: what Step 3 finds installed and runs.

MANIFEST = """\
AutoStart domain %s
Installed in D:\\Program Files\\EMC AutoStart\\%s
This stands in for the domain's manifest in the lab: the wizard reads the product as installed
for the domain when the file is there and readable.
""" % (AUTOSTART_DOMAIN, AUTOSTART_DOMAIN)

STAND_INS = """\
The clustering product as Step 3 finds it: D:\\Program Files\\EMC AutoStart\\ha1\\manifest, the
domain's manifest, which tells that the product is installed for ha1. Its installer (ftPerl
running install.pl) is played by the lab itself, never run from this folder: it reads values.dat
and writes Vestamail-Mirroring-Single.def (one board) or Vestamail-Mirroring.def (three boards)
beside it, a readable summary of the cluster (docs/lab.md). What it prints goes to console.log
in the lab, as its console window would show it.
"""


# The wires every lab's road probes (docs/lab.md): the CLAN gateway, which the prefilled entries also
# take as the CLAN test address, and the switch; the links themselves are cabled by default.
WIRES = """\
# The wires: the CLAN gateway (also the CLAN test address) and the switch answer echoes.
host = 10.1.1.1 CLAN
host = %s ELAN
""" % SWITCH_ADDRESS


def lab(root, title, readme, node_b_clan="CLAN", node_b_cluster_running=True, node_b_faults=None,
        defaults_stage=None, node_b_addresses=None, wires="", node_a_faults=None):
    """One lab folder; the arguments after `readme` say what differs from the demo."""
    write(os.path.join(root, "lab.conf"),
          ("# %s: this computer is node-a; node-b is its partner.\ncomputer-name = NODE-A\n%s%s"
           % (title, WIRES, wires)).encode("ascii"))
    readme = readme.replace(WRITTEN_BY, STAND_INS + "\n" + WRITTEN_BY)
    write(os.path.join(root, "README.txt"), readme.encode("ascii"))

    node_a = os.path.join(root, "servers", "node-a")
    registry(os.path.join(node_a, "registry"), 1, "{9F000000-0000-4000-8000-00000000A001}")
    services(os.path.join(node_a, "services.txt"), 1)
    if node_a_faults is not None:
        write(os.path.join(node_a, "faults.conf"), node_a_faults.encode("ascii"))

    node_b = os.path.join(root, "servers", "node-b")
    registry(os.path.join(node_b, "registry"), 2, "{9F000000-0000-4000-8000-00000000B002}", clan_name=node_b_clan,
             addresses_changed=node_b_addresses)
    services(os.path.join(node_b, "services.txt"), 2, cluster_running=node_b_cluster_running)
    if node_b_faults is not None:
        write(os.path.join(node_b, "faults.conf"), node_b_faults.encode("ascii"))

    write(os.path.join(root, "drives", "C", "README.txt"), b"Drive C: of the demo computer.\n")
    write(os.path.join(root, TOOLKIT, "README.txt"),
          b"The toolkit folder of the clustering product; the wizard keeps its defaults file here.\n"
          b"Step 3 writes values.dat here and runs the product's installer (install.pl through ftPerl),\n"
          b"which the lab plays itself: it reads values.dat and writes the definition file\n"
          b"(Vestamail-Mirroring-Single.def or Vestamail-Mirroring.def) here.\n")
    write(os.path.join(root, AUTOSTART, AUTOSTART_DOMAIN, "manifest"), MANIFEST.encode("ascii"))
    write(os.path.join(root, "drives", "E", "Zandor", "HA", "README.txt"),
          b"The wizard writes the clustering product's INI file here.\n")
    if defaults_stage is not None:
        write(os.path.join(root, TOOLKIT, "HADefaults.dat"), defaults_file(defaults_stage))


WRITTEN_BY = "Written by tools/make-demo-lab.py; do not edit by hand.\n"

PREFILLED = """\
The lab's defaults file (D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat) holds stage 0
and the entries of a complete stage 1: managed host ha-managed, CLAN 10.1.1.5, ELAN 10.2.2.5,
nodes node-a and node-b, user admin, workgroup, 1 board, AutoStart domain ha1, CLAN test
address 10.1.1.1. The wizard opens in stage 1 with them filled in.
"""

README_DEMO = """\
The demo lab: a healthy cluster pair.

This computer is node-a; node-b is its partner. Both servers have the five named
connections CLAN, ELAN, HB1, HB2 and MIRROR (plus adapters the wizard must pass over), agree
on the CLAN subnet, gateway and domain and on the switch address, have the high
availability feature enabled, and run the four AutoStart services of the domain ha1.

Type the entries (for example: managed host ha-managed, CLAN 10.1.1.5, ELAN 10.2.2.5,
node 2 node-b, user admin, workgroup, 1 board, AutoStart domain ha1, CLAN test address
10.1.1.1), press Step 1: both servers are read and shown side by side; Step 2 finds no
difference and saves the entries. The next run opens in stage 2.

answers.dat beside this file holds the entries of README.md's table (stage line 0), for the
command line: DuplexSetupAssistant check answers answers.dat, run in this folder.

Written by tools/make-demo-lab.py; do not edit by hand.
"""

README_UNREACHABLE = """\
Rehearses: Node 2 cannot be reached.

node-b is switched off or cut off from the network: its faults.conf says
"unreachable = yes", so connecting to its registry fails with 53 (the network path was
not found). Its registry and services are those of the demo; only the fault hides them.

""" + PREFILLED + """
What you should see: press Step 1. node-a is read, then a box "Unable to connect to the
registry on server node-b." and a box "Errors occured trying to obtain information from
server node-b.". The list is not filled and Step 2 stays disabled. install.log in the lab
copy ends with "RegConnectRegistry(\\\\node-b) failed. rc = 53" and the same "Errors
occured ..." line.

Written by tools/make-demo-lab.py; do not edit by hand.
"""

README_SERVICES_STOPPED = """\
Rehearses: the AutoStart services are not running on Node 2.

On node-b the four services of the AutoStart domain ha1 (ha1, ha1_BACKBONE, EMC AutoStart
Mirror Service, EMC AutoStart Transport Service) are installed but STOPPED in its
services.txt; node-a runs them. A stopped service does not answer the interrogation (1062).

The lab's defaults file (D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat) holds stage 1,
as a completed stage 1 leaves it, with the entries: managed host ha-managed, CLAN 10.1.1.5,
ELAN 10.2.2.5, nodes node-a and node-b, user admin, workgroup, 1 board, AutoStart domain
ha1, CLAN test address 10.1.1.1.

What you should see: the wizard opens in stage 2 and reads both servers at once; the list
has the four service rows, "Running" for node-a and "Not started" for node-b. Press Step 3:
a box "Validation Errors Detected." saying "At least one of the EMC services on server
node-b is not running." and nothing is generated.

Written by tools/make-demo-lab.py; do not edit by hand.
"""

README_CLAN_MISSING = """\
Rehearses: Node 2 has no connection named CLAN.

On node-b the CLAN adapter's connection was renamed "Clan". The wizard finds connections by
their exact name, letter case included, so node-b has no CLAN: its addresses are still in
the TCP/IP settings, but nothing leads to them.

""" + PREFILLED + """
What you should see: press Step 1. Both servers are read without an error; in the list the
five CLAN rows of node-b (address, mask, subnet, gateway, domain) are empty while node-a
shows 10.1.1.11, 255.255.255.0, 10.1.1.0, 10.1.1.1 and ha.example.local. Press Step 2: a
box "Validation Errors Detected." saying "The CLAN domains do not match.
node-a = ha.example.local, node-b = " and the entries are not saved.

Written by tools/make-demo-lab.py; do not edit by hand.
"""

# What the readiness checks add to Step 2 on a pair that cannot work (docs/readiness.md).
READINESS_BOX = """\
Press Step 2: the switch addresses and CLAN domains agree, so the comparison passes; then
the readiness checks find the fault, and a box "Cluster Readiness" shows

    %s

followed by where the report was saved (C:\\ProgramData\\Zandor\\Reports\\readiness-<date>-<time>.html,
which is drives/C/ProgramData/Zandor/Reports in the lab folder, with the .json beside it) and "Save the answers anyway?". No,
the default, saves nothing and the wizard stays in stage 1; Yes saves the answers as before.
The same line is in install.log, as an error. Open the .html report in a browser to see
both servers side by side with the finding and its remedy.
"""

README_CROSSED_HEARTBEATS = """\
Rehearses: the heartbeat links are crossed.

On node-b the connection named HB1 holds the address the HB2 network uses (192.168.102.12)
and the one named HB2 the HB1 network's (192.168.101.12): the cables, or the connection
names, were swapped when the server was set up. Each heartbeat of node-a then talks to the
wrong heartbeat of node-b, and the two heartbeats no longer fail apart.

""" + PREFILLED + """
What you should see: press Step 1. Both servers are read without an error; the list shows
node-b's HB1 as 192.168.102.12 and its HB2 as 192.168.101.12.
""" + READINESS_BOX % (
    "[FAIL] R07 HB1/HB2: HB1 and HB2 are crossed: HB1 of node-a (192.168.101.11/24) is on the\n"
    "    network of HB2 of node-b (192.168.101.12/24), and HB2 of node-a (192.168.102.11/24) on\n"
    "    that of HB1 of node-b (192.168.102.12/24)") + """
The remedy: swap the HB1 and HB2 connection names on one node, or re-cable the links.

Written by tools/make-demo-lab.py; do not edit by hand.
"""

README_DUPLICATE_CLAN_ADDRESS = """\
Rehearses: both nodes have the same CLAN address.

node-b's CLAN connection holds 10.1.1.11 as its first address, the address of node-a's
CLAN (a server cloned from node-a and not readdressed). Only one of them can answer on it.

""" + PREFILLED + """
What you should see: press Step 1. Both servers are read without an error; the list shows
10.1.1.11 as the CLAN IP Address of both nodes.
""" + READINESS_BOX % (
    "[FAIL] R05 CLAN: 10.1.1.11 is used twice: by the CLAN address of node-a and the CLAN\n"
    "    address of node-b") + """
The remedy: give each of them an address of its own (node-b's was 10.1.1.12).

Written by tools/make-demo-lab.py; do not edit by hand.
"""

README_HEARTBEAT_SUBNETS = """\
Rehearses: the two ends of a heartbeat link are on different subnets.

node-b's HB1 was typed as 192.168.110.12 instead of 192.168.101.12, so its network is
192.168.110.0/24 while node-a's HB1 is on 192.168.101.0/24: the heartbeat never reaches
the other node over that link.

""" + PREFILLED + """
What you should see: press Step 1. Both servers are read without an error; the list shows
node-b's HB1 as 192.168.110.12.
""" + READINESS_BOX % (
    "[FAIL] R02 HB1: HB1 of node-a (192.168.101.11/24) and HB1 of node-b (192.168.110.12/24)\n"
    "    are on different networks (192.168.101.0 and 192.168.110.0)") + """
The remedy: put HB1 of both nodes on one network (correct the address or mask on one of them).

Written by tools/make-demo-lab.py; do not edit by hand.
"""

# What the live link probes add to Step 2 on a pair whose registry is right but whose wires are not.
PROBES_BOX = """\
Press Step 2: the comparison passes and the registry checks find nothing; then the live
link probes, sent from node-a (this computer) to node-b and to the addresses the cluster
relies on, find the fault, and a box "Cluster Readiness" shows

    %s

followed by where the report was saved (C:\\ProgramData\\Zandor\\Reports\\readiness-<date>-<time>.html,
which is drives/C/ProgramData/Zandor/Reports in the lab folder, with the .json beside it)%s
install.log holds one line per probe ("Link HB1: 192.168.101.11 -> 192.168.101.12, 3 of 3
answered, 0.0 ms.") and the finding; the report has a table of every probe. `check` on this
lab prints the same finding and ends with exit code %d.
"""

ASKS = """ and "Save the answers
anyway?". No, the default, saves nothing; Yes saves the answers as before."""
TELLS = """. OK saves
the answers as before: a WARN finding only asks for a look."""

README_UNPLUGGED_HEARTBEAT = """\
Rehearses: a heartbeat cable is unplugged.

The registries of both servers are those of the demo, but the HB2 adapter of node-a has no
link: its faults.conf says "link-down = HB2", as when the cable is out of the port or the
switch port at its other end is off. No registry value shows it.

""" + PREFILLED + """
What you should see: press Step 1; both servers are read without an error.
""" + PROBES_BOX % (
    "[FAIL] R12 HB2: The HB2 adapter of node-a is disconnected: no cable, or nothing live at\n"
    "    its other end", ASKS, 2) + """
The remedy: plug the HB2 cable of node-a in, and check the cable and the port at its other end.

Written by tools/make-demo-lab.py; do not edit by hand.
"""

README_SWAPPED_HEARTBEAT_CABLES = """\
Rehearses: the heartbeat cables are swapped between the nodes.

The registries of both servers are those of the demo, but lab.conf cables HB1 of node-a to
HB2 of node-b and HB2 of node-a to HB1 of node-b ("cable = node-a HB1 - node-b HB2"). Every
adapter has its link, every address is right: only an echo shows that HB1 of node-a does not
reach HB1 of node-b.

""" + PREFILLED + """
What you should see: press Step 1; both servers are read without an error.
""" + PROBES_BOX % (
    "[FAIL] R13 HB1: HB1 of node-b (192.168.101.12) answered none of 3 echoes from HB1 of\n"
    "    node-a (192.168.101.11)\n"
    "    [FAIL] R13 HB2: the same for HB2", ASKS, 2) + """
The remedy of both names the swap: HB1 and HB2 are both silent while their adapters are
connected, so their cables may be swapped between the nodes.

Written by tools/make-demo-lab.py; do not edit by hand.
"""

README_ECHO_BLOCKED = """\
Rehearses: the partner's firewall drops echo requests.

node-b's faults.conf says "echo-blocked = yes": it answers no echo on any adapter, as a
server whose firewall rule for echo requests is off. Its registry and services are still
read over the network, so the cables are very likely fine: the probes must not call every
link dead, and give one warning instead.

""" + PREFILLED + """
What you should see: press Step 1; both servers are read without an error.
""" + PROBES_BOX % (
    "[WARN] R18 CLAN/ELAN/HB1/HB2/MIRROR: node-b answered no echo on any link although its\n"
    "    registry was just read over the network: its firewall most likely drops echo\n"
    "    requests, so the cables could not be tested", TELLS, 1) + """
The remedy: allow echo requests on node-b, then run the checks again to test the cables.

Written by tools/make-demo-lab.py; do not edit by hand.
"""

README_MANAGED_ADDRESS_TAKEN = """\
Rehearses: another machine already holds the managed CLAN address.

lab.conf puts a host on the CLAN that answers for 10.1.1.5 ("host = 10.1.1.5 CLAN"), the
managed CLAN IP of the prefilled entries: a machine given that address by mistake, or the
cluster itself when it is being upgraded.

""" + PREFILLED + """
What you should see: press Step 1; both servers are read without an error.
""" + PROBES_BOX % (
    "[WARN] R15 CLAN: The managed CLAN IP 10.1.1.5 already answers echoes: that is right when\n"
    "    upgrading this very cluster, whose managed address is live; otherwise another machine\n"
    "    holds it", TELLS, 1) + """
The remedy: unless this is an upgrade of this cluster, free the address or choose another.

Written by tools/make-demo-lab.py; do not edit by hand.
"""


def main():
    labs = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lab")
    lab(os.path.join(labs, "demo"), "The bundled demo lab", README_DEMO)
    write(os.path.join(labs, "demo", "answers.dat"), demo_answers())
    lab(os.path.join(labs, "node2-unreachable"), "A rehearsal lab", README_UNREACHABLE, defaults_stage=0,
        node_b_faults="# node-b is switched off or cut off from the network: its registry cannot be\n"
                      "# reached and answers 53.\nunreachable = yes\n")
    lab(os.path.join(labs, "services-stopped"), "A rehearsal lab", README_SERVICES_STOPPED, node_b_cluster_running=False,
        defaults_stage=1)
    # "Clan", not "CLAN " with a trailing blank: both miss the exact match, but a trailing
    # blank cannot be seen in the list, in regedit or in this export, so the engineer
    # rehearsing would have nothing to find; a change of letter case can be spotted.
    lab(os.path.join(labs, "clan-missing"), "A rehearsal lab", README_CLAN_MISSING, node_b_clan="Clan", defaults_stage=0)
    # The three configurations the readiness checks refuse (FAIL), each on node-b's addresses alone.
    lab(os.path.join(labs, "crossed-heartbeats"), "A rehearsal lab", README_CROSSED_HEARTBEATS, defaults_stage=0,
        node_b_addresses={"HB1": ("192.168.102.12", "255.255.255.0"), "HB2": ("192.168.101.12", "255.255.255.0")})
    lab(os.path.join(labs, "duplicate-clan-address"), "A rehearsal lab", README_DUPLICATE_CLAN_ADDRESS,
        defaults_stage=0, node_b_addresses={"CLAN": ("10.1.1.11", "255.255.255.0")})
    lab(os.path.join(labs, "heartbeat-subnets"), "A rehearsal lab", README_HEARTBEAT_SUBNETS, defaults_stage=0,
        node_b_addresses={"HB1": ("192.168.110.12", "255.255.255.0")})
    # Four pairs whose registries are right and whose wires are not: only the live link probes see them.
    lab(os.path.join(labs, "unplugged-heartbeat"), "A rehearsal lab", README_UNPLUGGED_HEARTBEAT, defaults_stage=0,
        node_a_faults="# The HB2 cable of node-a (this computer) is out: its adapter has no link.\nlink-down = HB2\n")
    lab(os.path.join(labs, "swapped-heartbeat-cables"), "A rehearsal lab", README_SWAPPED_HEARTBEAT_CABLES,
        defaults_stage=0,
        wires="# The heartbeat cables, swapped between the nodes.\n"
              "cable = node-a HB1 - node-b HB2\ncable = node-a HB2 - node-b HB1\n")
    lab(os.path.join(labs, "echo-blocked"), "A rehearsal lab", README_ECHO_BLOCKED, defaults_stage=0,
        node_b_faults="# node-b's firewall drops every echo request.\necho-blocked = yes\n")
    lab(os.path.join(labs, "managed-address-taken"), "A rehearsal lab", README_MANAGED_ADDRESS_TAKEN,
        defaults_stage=0,
        wires="# Another machine on the CLAN already answers for the managed CLAN IP.\nhost = 10.1.1.5 CLAN\n")


if __name__ == "__main__":
    main()
