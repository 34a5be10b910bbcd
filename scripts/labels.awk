# Reads a transcript of examples/live_labels.scr and prints each label's text before and after its
# source moved and stretched, then the bath's label once more after its link was removed and its
# outline stretched again: the script lists the labels three times.
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
/object\(s\) listed\./ { ++phase }
function record(key, value) {
    if (phase == 0) { keys[++count] = key; before[key] = value }
    else if (phase == 1) after[key] = value
    else if (phase == 2) unlinked[key] = value
}
END {
    print "\nLabels before and after their sources moved and stretched:"
    for (i = 1; i <= count; ++i) {
        k = keys[i]
        printf "  %-26s %-12s -> %s%s\n", k, before[k], after[k], before[k] == after[k] ? "   (unchanged)" : ""
    }
    print "\nAfter sv_linkremove on the bath outline and another stretch, its label stays:"
    for (k in unlinked)
        printf "  %-26s %s\n", k, unlinked[k]
}