// Tessaly32 in VS Code: starts `tsy lsp` for MML sources (*.mus) and offers
// the commands that play the buffer from the cursor's line and stop.
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate(context) {
  const tsy = vscode.workspace.getConfiguration('tessaly32').get('tsyPath', 'tsy');
  client = new LanguageClient(
    'tessaly32',
    'Tessaly32',
    { command: tsy, args: ['lsp'] },
    { documentSelector: [{ language: 'tessaly32' }] }
  );
  context.subscriptions.push(
    vscode.commands.registerCommand('tessaly32.play', () => {
      const editor = vscode.window.activeTextEditor;
      if (!editor) return;
      const where = {
        textDocument: { uri: editor.document.uri.toString() },
        position: editor.selection.active,
      };
      return client.sendRequest('workspace/executeCommand', {
        command: 'tessaly32.playFromCursor',
        arguments: [where],
      });
    }),
    vscode.commands.registerCommand('tessaly32.stopPlaying', () =>
      client.sendRequest('workspace/executeCommand', { command: 'tessaly32.stop', arguments: [] })
    )
  );
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
