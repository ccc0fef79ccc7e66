#!/usr/bin/perl
# The lab's stand-in for the clustering product's installer script.
#   perl install.pl DEFINITION-NAME DOMAIN INSTALL-DIR < values.dat
# Reads the values file (29 lines, or 31 when the CLAN test address is not 127.0.0.1) and writes
# DEFINITION-NAME.def in the current directory: a summary of the cluster, with CR LF line ends.
use strict;
use warnings;

if (@ARGV != 3) {
    print STDERR "usage: install.pl DEFINITION-NAME DOMAIN INSTALL-DIR < values.dat\n";
    exit 1;
}
my ($definition, $domain, $install_dir) = @ARGV;

binmode STDIN;
my @lines = <STDIN>;
s/\r?\n\z// for @lines;
my $count = @lines;
if ($count != 29 && $count != 31) {
    print STDERR "install.pl: the values file has $count lines, not 29 or 31; nothing was written.\n";
    exit 1;
}

# The node CLAN addresses come again as lines 18 and 19 only in the 31-line form.
my @rest = @lines[($count == 31 ? 19 : 17) .. $#lines];
my %node = (
    1 => {name => $lines[0], ELAN => $lines[4], CLAN => $lines[14],
          HB1 => $rest[3], HB2 => $rest[5], MIRROR => $rest[7]},
    2 => {name => $lines[1], ELAN => $lines[5], CLAN => $lines[15],
          HB1 => $rest[4], HB2 => $rest[6], MIRROR => $rest[8]},
);

my @def = (
    "# Cluster definition written by the lab's stand-in installer (install.pl) from values.dat.",
    "Definition:        $definition",
    "AutoStart domain:  $domain",
    "Install directory: $install_dir",
    "",
);
for my $n (1, 2) {
    push @def, "Node $n: $node{$n}{name}";
    push @def, sprintf("  %-7s %s", $_, $node{$n}{$_}) for qw(ELAN CLAN HB1 HB2 MIRROR);
}
push @def, "",
    "ELAN: subnet $lines[2], mask $lines[3], switch $lines[6], managed address $lines[10]",
    "CLAN: subnet $lines[12], mask $lines[13], gateway $rest[2], test address $lines[16], "
        . "managed address $rest[1]",
    "",
    "User:      $rest[9]",
    "Workgroup: $rest[10]";

my $file = "$definition.def";
sub cannot_write { print STDERR "install.pl: cannot write $file: $!\n"; exit 1 }
open(my $out, '>:raw', $file) or cannot_write();
print {$out} map { "$_\r\n" } @def;
close($out) or cannot_write();
print "install.pl: $file written for the domain $domain.\n";
exit 0;
