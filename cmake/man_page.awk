# Turns a man page's plain source into roff (man macros). The plain format:
#   line 1           name(section) -- one-line summary
#   # TITLE          a section
#   - TERM           a term; the lines after it, up to a blank line, describe it
#       text         (four spaces) a literal line, kept as it is
#   blank line       ends a paragraph, a term's description or a literal block
#   **bold**, *italic* inside text and terms
# Variables: date, source (the program and version), manual (the manual's title).

function escape(text) {
    gsub(/\\/, "\\e", text)
    gsub(/-/, "\\-", text)
    # Hyphens inside a word stay hyphens; options and dashes become minus signs.
    while (match(text, /[A-Za-z0-9]\\-[A-Za-z0-9]/))
        text = substr(text, 1, RSTART) "-" substr(text, RSTART + 3)
    if (text ~ /^[.']/)
        text = "\\&" text
    return text
}

function inline(text) {
    text = escape(text)
    while (match(text, /\*\*[^*]+\*\*/))
        text = substr(text, 1, RSTART - 1) "\\fB" substr(text, RSTART + 2, RLENGTH - 4) "\\fR" \
               substr(text, RSTART + RLENGTH)
    while (match(text, /\*[^*]+\*/))
        text = substr(text, 1, RSTART - 1) "\\fI" substr(text, RSTART + 1, RLENGTH - 2) "\\fR" \
               substr(text, RSTART + RLENGTH)
    return text
}

function end_literal() {
    if (literal) {
        print ".fi"
        print ".RE"
        literal = 0
    }
}

NR == 1 {
    if (!match($0, /^[^(]+\([0-9]\) -- /)) {
        print "man_page.awk: line 1 must read 'name(section) -- summary'" > "/dev/stderr"
        exit 1
    }
    name = substr($0, 1, index($0, "(") - 1)
    section = substr($0, index($0, "(") + 1, 1)
    summary = substr($0, RLENGTH + 1)
    printf ".TH \"%s\" \"%s\" \"%s\" \"%s\" \"%s\"\n", toupper(name), section, date, source, manual
    print ".SH NAME"
    print escape(name) " \\- " escape(summary)
    next
}

/^[ \t]*$/ {
    end_literal()
    paragraph = 1
    next
}

/^# / {
    end_literal()
    print ".SH " escape(toupper(substr($0, 3)))
    paragraph = 0
    next
}

/^- / {
    end_literal()
    print ".TP"
    print inline(substr($0, 3))
    paragraph = 0
    next
}

/^    / {
    if (!literal) {
        print ".PP"
        print ".RS 4"
        print ".nf"
        literal = 1
    }
    print escape(substr($0, 5))
    paragraph = 0
    next
}

{
    end_literal()
    if (paragraph)
        print ".PP"
    paragraph = 0
    sub(/^[ \t]+/, "")
    print inline($0)
}

END { end_literal() }
