# The corpus files R writes itself (run in tests/data/import: Rscript make_corpus.R); each
# block prints the expected N and mean of its columns, computed by R, for EXPECTED.txt.
options(digits = 17)
out <- function(name) name  # run in tests/data/import
show <- function(name, ...) { cat("##", name, "\n"); l <- list(...); for (n in names(l)) { x <- l[[n]]; cat(n, sum(!is.na(x)), format(mean(x, na.rm = TRUE), digits = 17), "\n") } }

# 1. write.csv without row names, NA in the first rows
d <- data.frame(Weight = c(NA, NA, 72.5, 81.25, 65, 90.75), Height = c(NA, 171, 180, 175.5, 168, 192), Age = c(34, 41, 29, 55, 38, 47))
write.csv(d, out("r_write_csv_na_first.csv"), row.names = FALSE)
show("r_write_csv_na_first.csv", Weight = d$Weight, Height = d$Height, Age = d$Age)

# 2. write.csv with R's own row names "1", "2", ...
d <- data.frame(dose = c(0.5, 1, 2, 4, 8), response = c(12.1, 15.3, NA, 22.8, 30.05))
write.csv(d, out("r_write_csv_rownames.csv"))
show("r_write_csv_rownames.csv", dose = d$dose, response = d$response)

# 3. write.csv with text row names (sample IDs)
d <- data.frame(weight = c(21.3, 22.8, 19.9, 24.1), length = c(9.1, 9.6, 8.7, 10.2))
rownames(d) <- c("Mouse1", "Mouse2", "Mouse3", "Mouse4")
write.csv(d, out("r_write_csv_text_rownames.csv"))
show("r_write_csv_text_rownames.csv", weight = d$weight, length = d$length)

# 4. a text column in the middle (strain) and a sample ID first
d <- data.frame(id = c("S01", "S02", "S03", "S04", "S05"), glucose = c(5.4, 6.1, 4.9, 7.2, 5.8), strain = c("B6", "B6", "BALB", "BALB", "B6"), insulin = c(0.82, 1.15, 0.64, 1.9, 0.97))
write.csv(d, out("r_write_csv_text_columns.csv"), row.names = FALSE)
show("r_write_csv_text_columns.csv", glucose = d$glucose, insulin = d$insulin)

# 5. write.csv2: semicolons and decimal commas
d <- data.frame(Gewicht = c(1.25, 2.5, 3.75, 0.5, NA), Laenge = c(10.1, 12.35, 9.8, 11, 10.45))
write.csv2(d, out("r_write_csv2.csv"), row.names = FALSE)
show("r_write_csv2.csv", Gewicht = d$Gewicht, Laenge = d$Laenge)

# 6. write.table defaults: blanks, quotes, row names, a header one field short
d <- data.frame(x = c(1.5, 2.25, 3, 4.75), y = c(10, 20.5, NA, 41))
write.table(d, out("r_write_table_default.txt"))
show("r_write_table_default.txt", x = d$x, y = d$y)

# 7. write.table with tabs, no quotes, no row names
d <- data.frame(time = c(0, 15, 30, 45, 60), od600 = c(0.052, 0.118, 0.245, 0.51, 0.98))
write.table(d, out("r_write_table_tab.txt"), sep = "\t", quote = FALSE, row.names = FALSE)
show("r_write_table_tab.txt", time = d$time, od600 = d$od600)

# 8. long ("tidy") format with text group labels
d <- data.frame(value = c(5.1, 6.3, 4.8, 7.2, 5.9, 6.6, 4.4, 8.05, 5.5), treatment = c("control", "low", "control", "high", "low", "high", "control", "high", "low"))
write.csv(d, out("r_long_format_text_groups.csv"), row.names = FALSE)
show("r_long_format_text_groups.csv", control = d$value[d$treatment == "control"], low = d$value[d$treatment == "low"], high = d$value[d$treatment == "high"])

# 9. long format with row names, the group column third
write.csv(d, out("r_long_format_rownames.csv"))

# 10. a two-by-two table written as a table
m <- matrix(c(4, 12, 16, 8), nrow = 2, dimnames = list(c("Treated", "Control"), c("Infected", "Not infected")))
write.csv(m, out("r_two_by_two_table.csv"))

# 11. 30 columns
set.seed(17)
w <- as.data.frame(matrix(round(runif(30 * 8, 0, 100), 2), ncol = 30))
names(w) <- paste0("V", 1:30)
write.csv(w, out("r_30_columns.csv"), row.names = FALSE)
cat("## r_30_columns.csv\n"); for (i in 1:30) cat(names(w)[i], 8, format(mean(w[[i]]), digits = 17), "\n")

# 12. 1200 rows
x <- round(seq(0.5, by = 0.25, length.out = 1200), 2)
write.csv(data.frame(x = x), out("r_1200_rows.csv"), row.names = FALSE)
show("r_1200_rows.csv", x = x[1:1000])

# 13. nothing numeric
write.csv(data.frame(name = c("a", "b", "c"), note = c("x", "y", "z")), out("r_nothing_numeric.csv"), row.names = FALSE)
