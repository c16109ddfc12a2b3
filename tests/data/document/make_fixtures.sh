#!/bin/sh
# Regenerates the real-world fixtures of the document tests: a two-page PDF 1.3
# file written by Ghostscript's pdfwrite device from a small PostScript program.
set -e
cd "$(dirname "$0")"
cat > /tmp/koyo-two-pages.ps <<'PS'
%!PS
/Helvetica findfont 24 scalefont setfont
72 700 moveto (First page) show showpage
72 700 moveto (Second page) show showpage
PS
gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -dCompatibilityLevel=1.3 \
   -sOutputFile=gs-two-pages-1.3.pdf /tmp/koyo-two-pages.ps
rm -f /tmp/koyo-two-pages.ps
# The same file linearized by qpdf (cross-reference tables, no object streams).
qpdf --linearize --object-streams=disable gs-two-pages-1.3.pdf qpdf-linearized-1.3.pdf
