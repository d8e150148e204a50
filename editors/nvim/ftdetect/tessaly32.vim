" Tessaly32 MML sources: *.mus files are of the filetype tessaly32.
autocmd BufRead,BufNewFile *.mus setfiletype tessaly32
