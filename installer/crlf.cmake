# cmake -DIN=<text> -DOUT=<file> -DVERSION=<v> -P crlf.cmake: fills in
# @VERSION@ and writes the text with Windows line ends.
configure_file(${IN} ${OUT} @ONLY NEWLINE_STYLE CRLF)
