;;; tessaly32.el --- Tessaly32 MML sources with the tsy language server  -*- lexical-binding: t; -*-

;; A major mode for Tessaly32 sources (*.mus) and their eglot entry, which
;; starts `tsy lsp'.  Put this file on the load path and add
;;   (require 'tessaly32)
;;   (add-hook 'tessaly32-mode-hook #'eglot-ensure)
;; to your init file.  `tessaly32-play' plays the buffer from the point's
;; line, `tessaly32-stop' halts.

;;; Code:

(require 'eglot)

(defgroup tessaly32 nil
  "Tessaly32 MML sources."
  :group 'languages)

(defcustom tessaly32-tsy-program "tsy"
  "The tsy program that serves the language server."
  :type 'string)

(defvar tessaly32-mode-syntax-table
  (let ((table (make-syntax-table)))
    (modify-syntax-entry ?\; "<" table)
    (modify-syntax-entry ?\n ">" table)
    (modify-syntax-entry ?\" "\"" table)
    table)
  "A comment runs from a semicolon to the end of its line.")

;;;###autoload
(define-derived-mode tessaly32-mode prog-mode "Tessaly32"
  "Major mode for Tessaly32 MML sources."
  (setq-local comment-start "; ")
  (setq-local comment-end ""))

;;;###autoload
(add-to-list 'auto-mode-alist '("\\.mus\\'" . tessaly32-mode))

(add-to-list 'eglot-server-programs
             `(tessaly32-mode . (lambda (&rest _) (list tessaly32-tsy-program "lsp"))))

(defun tessaly32--execute (command arguments)
  "Ask the server to run COMMAND with ARGUMENTS."
  (eglot-execute-command (eglot--current-server-or-lose) command arguments))

(defun tessaly32-play ()
  "Play the buffer from the line of point."
  (interactive)
  (tessaly32--execute "tessaly32.playFromCursor" (vector (eglot--TextDocumentPositionParams))))

(defun tessaly32-stop ()
  "Stop playing."
  (interactive)
  (tessaly32--execute "tessaly32.stop" []))

(provide 'tessaly32)
;;; tessaly32.el ends here
