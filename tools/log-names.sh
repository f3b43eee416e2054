#!/bin/sh
# Prints the seven log file names, one a line, from the one place the program keeps them.
grep -o '"log[^"]*\.txt"' "$(dirname "$0")/../simulation/LogNames.h" | tr -d '"'
