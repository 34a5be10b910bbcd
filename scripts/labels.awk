# Reads a transcript of examples/live_labels.scr and prints each label's text at the script's
# three listings (each the model's labels, then the sheet's): as linked, after the sources
# changed, and after the bath was unlinked and the drawing saved, reopened and changed again.
#   awk -f scripts/labels.awk TRANSCRIPT
BEGIN { colours[1] = " (red)"; colours[3] = " (green)" }
/^[A-Z]+ +Layer:/ { kind = $1; name = ""; next }
/^    Handle:/ { handle = $2; next }
/^    block name:/ { name = $3; gsub(/"/, "", name); next }
/^    Color:/ && kind != "INSERT" && kind != "TEXT" { record(kind " " handle " colour", $2 colours[$2]); next }
/^    text:/ { sub(/^ *text: */, ""); record(kind " " handle, $0); next }
/^    attribute:/ {
    sub(/^ *attribute: */, "")
    tag = $1
    value = $0
    sub(/^[^=]*= */, "", value)
    if (tag == "NAME") { name = value; gsub(/"/, "", name); next }
    record((name != "" ? name : kind " " handle) " " tag, value)
    next
}
/object\(s\) listed\./ { ++listings }
function record(key, value) {
    phase = int(listings / 2)
    if (phase == 0) keys[++count] = key
    seen[phase, key] = value
}
END {
    print "Labels as linked, after their sources moved and stretched, and after the drawing was"
    print "saved and reopened (the bath unlinked before, so its label stays):"
    for (i = 1; i <= count; ++i) {
        k = keys[i]
        printf "  %-22s %-12s -> %-12s -> %s\n", k, seen[0, k], seen[1, k], seen[2, k]
    }
}
