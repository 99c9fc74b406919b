#!/usr/bin/perl
# Copies a Japanese manual page, marking with \: (a break point that adds
# nothing) every place between two Japanese characters where a line may
# break. groff breaks lines only at spaces, and Japanese sentences have
# none, so without these a paragraph would run past the terminal's edge.
# No line starts with a closing bracket, a comma or full stop, a long-vowel
# mark or a small kana, and none ends with an opening bracket.
use strict;
use warnings;
use utf8;
binmode STDIN, ':encoding(UTF-8)';
binmode STDOUT, ':encoding(UTF-8)';

my $japanese = qr/[\x{3000}-\x{30FF}\x{3400}-\x{4DBF}\x{4E00}-\x{9FFF}\x{FF01}-\x{FF60}]/;
my $no_start = qr/[、。，．・ー）」』】〕！？：；ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ々]/;
my $no_end = qr/[（「『【〔]/;

my @lines = <STDIN>;
for my $i (0 .. $#lines) {
  my $line = $lines[$i];
  # Comments and the title line stay as written.
  next if $line =~ /^\.(\\"|TH\b)/;
  $line =~ s/(?<=$japanese)(?<!$no_end)(?=$japanese)(?!$no_start)/\\:/g;
  # A sentence that goes on in the next line of text joins it without the
  # space groff puts between two lines, where a line may break all the same.
  my $next = $i < $#lines ? $lines[$i + 1] : '';
  $line =~ s/(?<!$no_end)\n\z/\\:\\c\n/
      if $line !~ /^\./ && $line =~ /$japanese\n\z/ && $next =~ /^$japanese/ && $next !~ /^$no_start/;
  $line =~ s/\n\z/\\c\n/
      if $line !~ /^\./ && $line =~ /$japanese\n\z/ && $next =~ /^$no_start/;
  $lines[$i] = $line;
}
print @lines;
