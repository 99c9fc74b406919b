#!/usr/bin/perl
# Copies a Japanese manual page so that groff sets it as Japanese is set:
#
# - Every place between two Japanese characters where a line may break gets
#   \: (a break point that adds nothing). groff breaks lines only at spaces,
#   and Japanese sentences have none, so without these a paragraph would
#   run past the terminal's edge. No line starts with a closing bracket, a
#   comma or full stop, a long-vowel mark or a small kana, and none ends
#   with an opening bracket.
# - Where the source only broke its line inside a sentence, groff would put
#   a space. The lines are joined instead (\c) wherever Japanese meets
#   Japanese, or Japanese punctuation meets anything; between a Japanese
#   word and a Latin one the space stays, as the pages write it.
# - The font macros (.B, .I, .BR, .RB, ...) are turned into the same text
#   with font escapes, so that their words join the sentence around them
#   by the rule above instead of always standing apart.
use strict;
use warnings;
use utf8;
binmode STDIN, ':encoding(UTF-8)';
binmode STDOUT, ':encoding(UTF-8)';

my $japanese = qr/[\x{3000}-\x{30FF}\x{3400}-\x{4DBF}\x{4E00}-\x{9FFF}\x{FF01}-\x{FF60}]/;
my $no_start = qr/[、。，．・ー）」』】〕！？：；ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ々]/;
my $no_end = qr/[（「『【〔]/;
my $closing = qr/[、。，．）」』】〕！？：；]/;
# Full-width punctuation keeps its own room: no space on either side of it.
my $punctuation = qr/[、。，．・（）「」『』【】〔〕！？：；〜]/;

my %font = (B => 'B', I => 'I', R => 'R');

# The arguments of a macro line, as groff splits them: at spaces, with
# "..." keeping spaces and "" standing for one quote inside quotes.
sub arguments {
  my ($text) = @_;
  my @args;
  while ($text =~ /\G\s*(?:"((?:[^"]|"")*)"?|(\S+))/gc) {
    my $arg = defined $1 ? $1 : $2;
    $arg =~ s/""/"/g if defined $1;
    push @args, $arg;
  }
  return @args;
}

# A font macro with its arguments as one line of text with font escapes;
# nothing for any other line.
sub font_macro_as_text {
  my ($line) = @_;
  return undef unless $line =~ /^\.(B|I|BR|RB|BI|IB|IR|RI)(?:\s+(.*))?$/;
  my ($macro, $rest) = ($1, $2);
  my @args = arguments(defined $rest ? $rest : '');
  return undef unless @args;  # a bare .B sets the next line: leave it to groff
  my @fonts = split //, $macro;
  if (@fonts == 1) {
    return "\\f$font{$fonts[0]}" . join(' ', @args) . "\\fR";
  }
  my $text = '';
  for my $k (0 .. $#args) {
    $text .= "\\f$font{$fonts[$k % 2]}$args[$k]";
  }
  return $text . "\\fR";
}

# The text groff shows of a line, for deciding how lines meet: font and
# break escapes take no room.
sub visible {
  my ($line) = @_;
  $line =~ s/\\f(?:\[[^\]]*\]|\(..|.)//g;
  $line =~ s/\\[:&c]//g;
  $line =~ s/\\-/-/g;
  return $line;
}

my @lines = <STDIN>;
chomp @lines;
for my $line (@lines) {
  my $text = font_macro_as_text($line);
  $line = $text if defined $text;
}

# A line of text joined with the next, where it may break, and where not.
for my $i (0 .. $#lines) {
  my $line = $lines[$i];
  # Comments and the title line stay as written.
  next if $line =~ /^\.(\\"|TH\b)/;
  next if $line =~ /^[.']/;
  $line =~ s/(?<=$japanese)(?<!$no_end)(?=$japanese)(?!$no_start)/\\:/g;
  # After a comma, a full stop or a closing bracket a line may break before
  # Latin text too, so that "、1904年" does not move to the next line whole.
  $line =~ s/(?<=$closing)(?=[\x{21}-\x{7E}])/\\:/g;
  $lines[$i] = $line;
}

my $out = '';
for my $i (0 .. $#lines) {
  my $line = $lines[$i];
  my $next = $i < $#lines ? $lines[$i + 1] : undef;
  my $request = $line =~ /^[.']/;
  # The line after .TP is the item's tag: it stands alone.
  my $tag = $i > 0 && $lines[$i - 1] =~ /^\.TP\b/;
  if (!$request && !$tag && defined $next && $next !~ /^[.']/ && $next ne '') {
    my $end = visible($line);
    my $start = visible($next);
    if ($end =~ /(\S)\z/ && $start =~ /\A(\S)/) {
      my ($last) = $end =~ /(\S)\z/;
      my ($first) = $start =~ /\A(\S)/;
      my $both_japanese = $last =~ $japanese && $first =~ $japanese;
      if ($both_japanese || $last =~ $punctuation || $first =~ $punctuation) {
        my $may_break = $last !~ $no_end && $first !~ $no_start;
        $line .= $may_break ? '\\:\\c' : '\\c';
      }
    }
  }
  $out .= "$line\n";
}
print $out;
