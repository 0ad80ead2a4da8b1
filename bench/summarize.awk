# Reads "rep <value>..." lines and sums up two of the columns, a and b
# (1 is the first value), over the repetitions:
#   awk -v a=1 -v b=2 -v mode=ratio|diff [-v scale=N] -f summarize.awk
# Prints "<median> <min> <max>" of a, of b, and of the per-repetition
# a/b or a-b, each value of a and b divided by scale first; then the
# count of repetitions.
# (Debian's awk is mawk, which has no asort.)
function median(values, n,    sorted, i, j, v) {
  for (i = 1; i <= n; ++i) {
    v = values[i]
    for (j = i - 1; j >= 1 && sorted[j] > v; --j) sorted[j + 1] = sorted[j]
    sorted[j + 1] = v
  }
  return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
}
function lowest(values, n,    i, m) { m = values[1]; for (i = 2; i <= n; ++i) if (values[i] < m) m = values[i]; return m }
function highest(values, n,    i, m) { m = values[1]; for (i = 2; i <= n; ++i) if (values[i] > m) m = values[i]; return m }
$1 == "rep" {
  ++n
  x[n] = $(a + 1) / (scale ? scale : 1)
  y[n] = $(b + 1) / (scale ? scale : 1)
  r[n] = mode == "diff" ? x[n] - y[n] : x[n] / y[n]
}
END {
  if (n == 0) exit 1
  print median(x, n), lowest(x, n), highest(x, n), median(y, n), lowest(y, n), highest(y, n), median(r, n), lowest(r, n), highest(r, n), n
}
