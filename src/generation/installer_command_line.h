// How the clustering product's installer is run: the command line for a board count and the
// definition file it leaves.
#pragma once

#include <string>

// The definition the installer generates for `boardCount`: "Vestamail-Mirroring-Single" for "1",
// "Vestamail-Mirroring" for "3", empty for any other text.
std::wstring DefinitionName(const std::wstring& boardCount);

// Where the installer leaves that definition: in the toolkit folder, its working directory.
std::wstring DefinitionFilePath(const std::wstring& definitionName);

// The command line that runs the installer script through the domain's Perl with the Perl input
// file as its standard input, exactly as the product's documentation writes it for the board
// count; empty for a board count other than "1" or "3".
std::wstring InstallerCommandLine(const std::wstring& boardCount, const std::wstring& autoStartDomain);
