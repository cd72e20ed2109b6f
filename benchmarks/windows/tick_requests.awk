# Counts the Wine server requests of each marked tick in a server trace
# (`wineserver -f -d1 2> TRACE`, or any process started with WINEDEBUG=+server
# that starts the server: the server writes the trace to its standard error).
# A program marks the start of a tick with GlobalFindAtomW(L"morvet-tick LABEL"),
# which the trace shows as `TTTT: find_atom( name=L"morvet-tick LABEL" )`. A tick
# runs from its mark to the next mark of the same thread; the mark itself is
# not counted, nor are other threads' requests. Ticks labelled "warm" or "end"
# (the first and the last of a run, which hold its start or its end) are left out.
# Prints for each label, in the order first seen:
#   LABEL<TAB>median N<TAB>min N<TAB>max N<TAB>ticks N<TAB>a median tick: request xcount ...
# usage: awk -f tick_requests.awk TRACE
# Trace lines: `TTTT: name( args )` a request, `TTTT: name() = STATUS { ... }`
# its reply, `TTTT: *event* ...` the server's own notes.

function close_tick(thread,    l, n, k) {
  l = label[thread]
  if (l == "warm" || l == "end") return
  n = ++ticks[l]
  counts[l, n] = count[thread]
  detail[l, n] = ""
  for (k = 1; k <= nnames[thread]; k++) {
    detail[l, n] = detail[l, n] " " names[thread, k] " x" times[thread, names[thread, k]]
  }
  if (!(l in seen)) { seen[l] = 1; order[++labels] = l }
}

/^[0-9a-f]+: find_atom\( name=L"morvet-tick / {
  thread = $1
  if (thread in label) close_tick(thread)
  match($0, /morvet-tick [^"]*/)
  label[thread] = substr($0, RSTART + 12, RLENGTH - 12)
  count[thread] = 0
  for (k = 1; k <= nnames[thread]; k++) delete times[thread, names[thread, k]]
  nnames[thread] = 0
  next
}

/^[0-9a-f]+: [a-z_0-9]+\( / {
  thread = $1
  if (!(thread in label)) next
  count[thread]++
  request = $2
  sub(/\(.*/, "", request)
  if (!((thread, request) in times)) { names[thread, ++nnames[thread]] = request; times[thread, request] = 0 }
  times[thread, request]++
}

END {
  for (i = 1; i <= labels; i++) {
    l = order[i]
    n = ticks[l]
    for (j = 1; j <= n; j++) sorted[j] = counts[l, j]
    for (j = 2; j <= n; j++) {
      v = sorted[j]
      for (k = j - 1; k >= 1 && sorted[k] > v; k--) sorted[k + 1] = sorted[k]
      sorted[k + 1] = v
    }
    median = sorted[int(n / 2) + 1]
    example = ""
    for (j = 1; j <= n; j++) if (counts[l, j] == median) { example = detail[l, j]; break }
    printf "%s\tmedian %d\tmin %d\tmax %d\tticks %d\ta median tick:%s\n", l, median, sorted[1], sorted[n], n, example
  }
}
