#!/usr/bin/env python3
"""Writes the registry exports of the bundled demo lab (lab/demo/servers/*).

The exports are written the way `reg export` writes them (version 5, UTF-16LE with BOM,
CR LF, long hex data continued on the next line), plus one REGEDIT4 file per server, so
that the demo exercises both dialects. Run it after changing the servers below.
"""
import os
import sys

NETWORK_CLASS = r"SYSTEM\CurrentControlSet\Control\Network\{4D36E972-E325-11CE-BFC1-08002BE10318}"
INTERFACES = r"SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces"
PRODUCT = r"SOFTWARE\Zandor\Vestamail\ConfigWizard"


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


def export(keys):
    out = ["Windows Registry Editor Version 5.00", ""]
    for key, values in keys:
        out.append(f"[HKEY_LOCAL_MACHINE\\{key}]")
        out.extend(values)
        out.append("")
    return b"\xff\xfe" + ("\r\n".join(out) + "\r\n").encode("utf-16-le")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def server(folder, octet, extra_interface_guid):
    adapters = [
        ("{1A2B3C4D-0001-4000-8000-00000000000%d}" % octet, "CLAN"),
        ("{1A2B3C4D-0002-4000-8000-00000000000%d}" % octet, "ELAN"),
        ("{1A2B3C4D-0003-4000-8000-00000000000%d}" % octet, "HB1"),
        ("{1A2B3C4D-0004-4000-8000-00000000000%d}" % octet, "HB2"),
        ("{1A2B3C4D-0005-4000-8000-00000000000%d}" % octet, "MIRROR"),
        ("{1A2B3C4D-0006-4000-8000-00000000000%d}" % octet, "Local Area Connection 6"),
    ]
    keys = [(NETWORK_CLASS, [string_value("Class", "Net")]),
            (NETWORK_CLASS + r"\Descriptions", [string_value("Intel(R) PRO/1000", "")])]
    for guid, name in adapters:
        keys.append((NETWORK_CLASS + "\\" + guid, []))
        keys.append((NETWORK_CLASS + "\\" + guid + r"\Connection",
                     [string_value("Name", name), string_value("PnpInstanceID", "PCI\\VEN_8086&DEV_100E\\" + name)]))
    write(os.path.join(folder, "network.reg"), export(keys))

    addresses = {
        "CLAN": ("10.1.1.%d" % (10 + octet), "255.255.255.0"),
        "ELAN": ("10.2.2.%d" % (10 + octet), "255.255.255.0"),
        "HB1": ("192.168.101.%d" % (10 + octet), "255.255.255.0"),
        "HB2": ("192.168.102.%d" % (10 + octet), "255.255.255.0"),
        "MIRROR": ("192.168.103.%d" % (10 + octet), "255.255.255.0"),
        "Local Area Connection 6": ("0.0.0.0", "0.0.0.0"),
    }
    keys = [(INTERFACES, [])]
    for guid, name in adapters:
        ip, mask = addresses[name]
        values = [string_value("EnableDHCP", "0").replace('"="0"', '"=dword:00000000')]
        if name == "CLAN":
            # Two addresses on the CLAN: the wizard takes the first of each list.
            values.append(hex_value("IPAddress", 7, multi_sz(ip, "10.1.1.%d" % (100 + octet))))
            values.append(hex_value("SubnetMask", 7, multi_sz(mask, "255.255.255.0")))
            values.append(hex_value("DefaultGateway", 7, multi_sz("10.1.1.1")))
            values.append(string_value("Domain", "ha.example.local"))
        else:
            values.append(hex_value("IPAddress", 7, multi_sz(ip)))
            values.append(hex_value("SubnetMask", 7, multi_sz(mask)))
            values.append(hex_value("DefaultGateway", 7, multi_sz()))
        keys.append((INTERFACES + "\\" + guid, values))
    # An interface with no adapter class entry (a tunnel adapter): never matched.
    keys.append((INTERFACES + "\\" + extra_interface_guid,
                 [hex_value("IPAddress", 7, multi_sz("169.254.1.1")), hex_value("SubnetMask", 7, multi_sz("255.255.0.0"))]))
    write(os.path.join(folder, "tcpip.reg"), export(keys))

    product = ("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\%s]\r\n\"Switch IP Address\"=\"10.2.2.250\"\r\n"
               "\"HighAvailMode\"=dword:00000001\r\n\"InstallDir\"=\"D:\\\\Zandor\\\\Vestamail\"\r\n" % PRODUCT)
    write(os.path.join(folder, "product.reg"), product.encode("latin-1"))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "lab", "demo")
    server(os.path.join(root, "servers", "node-a", "registry"), 1, "{9F000000-0000-4000-8000-00000000A001}")
    server(os.path.join(root, "servers", "node-b", "registry"), 2, "{9F000000-0000-4000-8000-00000000B002}")


if __name__ == "__main__":
    main()
