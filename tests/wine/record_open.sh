#!/bin/sh
# Stands in for the desktop's web browser in the Wine window test: Wine's
# browser launcher starts it with the address that the program handed to the
# shell, and it appends that address to the file $QD_OPEN_LOG.
printf '%s\n' "$@" >>"$QD_OPEN_LOG"
